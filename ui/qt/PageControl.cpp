#include "PageControl.h"

#include "Native.h"

#include <QTabWidget>

void TPageControl::CreateWnd() {
    auto* tabs = new QTabWidget(NativeControl::ParentWidget(*this));
    NativeControl::Adopt(*this, tabs);
    tabs->setGeometry(Left, Top, Width, Height);
    tabs->setFocusPolicy(Qt::StrongFocus);
    // The tab label shows the page control's own font; the pages set theirs.
    NativeControl::ApplyFont(*this);
}

TPageControl::Rect TPageControl::DisplayRect() {
    auto* tabs = static_cast<QTabWidget*>(Handle());
    const QRect page = tabs->currentWidget() ? tabs->currentWidget()->geometry() : tabs->rect();
    return {page.left(), page.top(), page.right() + 1, page.bottom() + 1};
}
