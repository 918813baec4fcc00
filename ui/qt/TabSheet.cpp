#include "TabSheet.h"

#include "Native.h"
#include "PageControl.h"

#include <QTabWidget>

void TTabSheet::CreateWnd() {
    auto* pages = dynamic_cast<TPageControl*>(Parent());
    if (!pages)
        throw Exception("TabSheet " + Name + " has no page control");
    auto* tabs = static_cast<QTabWidget*>(pages->Handle());
    auto* page = new QWidget;
    NativeControl::Adopt(*this, page);
    // The tab widget places the page in its display area and owns it from here on.
    tabs->addTab(page, QString::fromStdString(Caption));
    page->setAutoFillBackground(true);
    NativeControl::ApplyFont(*this);
}
