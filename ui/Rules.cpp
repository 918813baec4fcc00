#include "Rules.h"

#include <cstdint>
#include <cstdlib>

namespace ui {

std::string ApplicationTitle(std::string_view modulePath, std::string (*lower)(std::string)) {
    std::string_view name = modulePath;
    if (auto slash = name.rfind('\\'); slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    name = name.substr(0, name.find('.'));
    if (name.empty())
        return {};
    return std::string(1, name.front()) + lower(std::string(name.substr(1)));
}

std::string WithFullStop(std::string message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

Size FitPicture(Size picture, Size control, bool proportional, bool stretch) {
    const bool larger = picture.width > control.width || picture.height > control.height;
    if (!stretch && !(proportional && larger))
        return picture;
    if (!proportional || picture.width <= 0 || picture.height <= 0)
        return control;

    const double aspect = static_cast<double>(picture.width) / picture.height;
    Size fitted;
    if (picture.width > picture.height) {
        fitted = {control.width, static_cast<int>(control.width / aspect)};
        if (fitted.height > control.height)
            fitted = {static_cast<int>(control.height * aspect), control.height};
    } else {
        fitted = {static_cast<int>(control.height * aspect), control.height};
        if (fitted.width > control.width)
            fitted = {control.width, static_cast<int>(control.width / aspect)};
    }
    return fitted;
}

int MulDivRound(int value, int numerator, int denominator) {
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t half = std::llabs(denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(denominator);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

Bounds ScaleBounds(Bounds b, int textHeight, int designTextHeight) {
    const auto scale = [&](int v) { return MulDivRound(v, textHeight, designTextHeight); };
    const int left = scale(b.left);
    const int top = scale(b.top);
    return {left, top, scale(b.left + b.width) - left, scale(b.top + b.height) - top};
}

int ScaleFontHeight(int height, int pixelsPerInch, int textHeight, int designTextHeight) {
    const int points = MulDivRound(-height, 72, pixelsPerInch);
    const int scaled = MulDivRound(points, textHeight, designTextHeight);
    return -MulDivRound(scaled, pixelsPerInch, 72);
}

} // namespace ui
