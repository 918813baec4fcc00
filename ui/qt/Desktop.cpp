#include "Desktop.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace ui {

// The desktop's default application for the file's type, through xdg-open or the desktop
// portal. Qt has no owner window for it; the desktop raises what it starts.
void OpenWithDesktop(TWinControl*, const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

} // namespace ui
