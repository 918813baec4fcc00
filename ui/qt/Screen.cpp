#include "Screen.h"

#include "Native.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace ui {

int ScreenPixelsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

int TextHeight(const TFont& font) {
    return QFontMetrics(qt::ToQFont(font)).height();
}

} // namespace ui
