#include "Layout.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace e2e {

namespace {

constexpr int kDesignTextHeight = 13;

// JPEG decoding is exact in a given decoder, and the program and the test use the same
// one; the margin only absorbs rounding between bitmap formats, far below what a shift by
// one pixel, a smoothing reduction or another picture makes.
constexpr int kTolerance = 4;

std::string Hex(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06lx", static_cast<unsigned long>(colour));
    return text;
}

} // namespace

Layout DesignedLayout() {
    Layout layout;
    layout.client = {477, 289};
    layout.tabs = {8, 8, 457, 273};
    layout.image = {288, 16, 153, 217};
    layout.buttons = {{{8, 16, 257, 25},
                       {8, 64, 257, 25},
                       {8, 104, 257, 25},
                       {8, 152, 257, 25},
                       {8, 200, 257, 25}}};
    return layout;
}

Layout ScaledLayout(int textHeight) {
    Layout layout = DesignedLayout();
    if (textHeight == kDesignTextHeight)
        return layout;
    auto scale = [&](ui::Bounds& bounds) {
        bounds = ui::ScaleBounds(bounds, textHeight, kDesignTextHeight);
    };
    scale(layout.tabs);
    scale(layout.image);
    for (ui::Bounds& button : layout.buttons)
        scale(button);
    layout.client = {ui::MulDivRound(layout.client.width, textHeight, kDesignTextHeight),
                     ui::MulDivRound(layout.client.height, textHeight, kDesignTextHeight)};
    return layout;
}

std::wstring CoverJpeg() {
    std::wstring path;
    for (const char* c = KORVEL_E2E_COVER; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

MainWindowParts PartsOf(const Program& korvel) {
    MainWindowParts parts;
    parts.main = korvel.MainWindow();
    parts.tabs = korvel.Tabs();
    if (parts.tabs)
        parts.page = FindWindowExW(parts.tabs, nullptr, L"TTabSheet", nullptr);
    if (parts.page)
        parts.image = FindWindowExW(parts.page, nullptr, L"TImage", nullptr);
    parts.buttons = korvel.Buttons();
    return parts;
}

RECT ScreenRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT RectInParent(HWND window) {
    RECT rect = ScreenRect(window);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ToRect(const ui::Bounds& bounds) {
    return {bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
}

RECT Offset(RECT rect, POINT by) {
    OffsetRect(&rect, by.x, by.y);
    return rect;
}

std::string Describe(const RECT& rect) {
    char text[96];
    std::snprintf(text, sizeof text, "(%ld,%ld) %ldx%ld", rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top);
    return text;
}

std::optional<RECT> PageArea(HWND tabs) {
    RECT area = {};
    GetClientRect(tabs, &area);
    // TCM_ADJUSTRECT carries a pointer, and only the system's own messages have theirs
    // carried over to another process: the rectangle has to be in the tab control's memory.
    if (!SendWithBuffer(tabs, TCM_ADJUSTRECT, FALSE, &area, sizeof area))
        return std::nullopt;
    area.top += 2;
    return area;
}

testing::AssertionResult HasLayout(const MainWindowParts& parts, const Layout& layout) {
    if (!parts.main || !parts.tabs || !parts.page || !parts.image || parts.buttons.size() != 5)
        return testing::AssertionFailure()
               << "missing windows: main " << parts.main << ", tabs " << parts.tabs << ", page "
               << parts.page << ", image " << parts.image << ", " << parts.buttons.size()
               << " buttons";
    auto failure = testing::AssertionFailure();
    bool failed = false;
    auto expect = [&](const std::string& what, const RECT& actual, const RECT& expected) {
        if (!EqualRect(&actual, &expected)) {
            failure << what << " " << Describe(actual) << ", expected " << Describe(expected)
                    << "; ";
            failed = true;
        }
    };

    RECT client = {};
    GetClientRect(parts.main, &client);
    expect("main window's client area", client, {0, 0, layout.client.width, layout.client.height});
    POINT origin = {0, 0};
    ClientToScreen(parts.main, &origin);

    // Each screen rectangle is the one of its parent's client area moved by the control's
    // own place: neither is read from the control's parent window.
    const RECT tabs = ToRect(layout.tabs);
    const RECT tabsOnScreen = Offset(tabs, origin);
    expect("tab control in the main window", RectInParent(parts.tabs), tabs);
    expect("tab control on the screen", ScreenRect(parts.tabs), tabsOnScreen);

    const std::optional<RECT> page = PageArea(parts.tabs);
    if (!page)
        return testing::AssertionFailure() << "the tab control did not report its display area";
    const RECT pageOnScreen = Offset(*page, {tabsOnScreen.left, tabsOnScreen.top});
    expect("page in the tab control", RectInParent(parts.page), *page);
    expect("page on the screen", ScreenRect(parts.page), pageOnScreen);
    // Below the tab row and inside the tab control's frame.
    RECT tab = {};
    RECT tabsClient = {};
    GetClientRect(parts.tabs, &tabsClient);
    if (!SendWithBuffer(parts.tabs, TCM_GETITEMRECT, 0, &tab, sizeof tab) ||
        page->top <= tab.bottom || page->left <= tabsClient.left ||
        page->right >= tabsClient.right || page->bottom >= tabsClient.bottom) {
        failure << "page " << Describe(*page) << " is not below the tab " << Describe(tab)
                << " inside the tab control's " << Describe(tabsClient) << "; ";
        failed = true;
    }

    const POINT pageOrigin = {pageOnScreen.left, pageOnScreen.top};
    const RECT image = ToRect(layout.image);
    expect("image on the page", RectInParent(parts.image), image);
    expect("image on the screen", ScreenRect(parts.image), Offset(image, pageOrigin));
    for (std::size_t i = 0; i < parts.buttons.size(); ++i) {
        const std::string name = "button " + std::to_string(i + 1);
        const RECT button = ToRect(layout.buttons[i]);
        expect(name + " on the page", RectInParent(parts.buttons[i]), button);
        expect(name + " on the screen", ScreenRect(parts.buttons[i]), Offset(button, pageOrigin));
    }

    // The windows are where they should be and seen there.
    if (GetParent(parts.page) != parts.tabs || GetParent(parts.image) != parts.page) {
        failure << "the page is not the tab control's child or the image not the page's; ";
        failed = true;
    }
    std::vector<HWND> all = {parts.tabs, parts.page, parts.image};
    all.insert(all.end(), parts.buttons.begin(), parts.buttons.end());
    for (HWND window : all)
        if (!IsWindowVisible(window)) {
            failure << "a " << Narrow(ClassOf(window)) << " window is hidden; ";
            failed = true;
        }
    return failed ? failure : testing::AssertionSuccess();
}

testing::AssertionResult ShowsFittedCover(const Pixels& image, ui::Size fitted,
                                          const Pixels& expected) {
    if (expected.width != fitted.width || expected.height != fitted.height)
        return testing::AssertionFailure() << "the cover could not be decoded for comparison";
    if (image.width < fitted.width || image.height < fitted.height)
        return testing::AssertionFailure()
               << "the image is " << image.width << "x" << image.height
               << ", smaller than the picture's " << fitted.width << "x" << fitted.height;
    const Colour face = FromColorRef(GetSysColor(COLOR_BTNFACE));
    auto failure = testing::AssertionFailure();
    bool failed = false;

    // Beyond the picture the image shows the page colour: not a centred picture, not one
    // stretched to the image's height.
    int notFace = 0;
    POINT first = {};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if ((x >= fitted.width || y >= fitted.height) && image.At(x, y) != face && !notFace++)
                first = {x, y};
    if (notFace) {
        failure << notFace << " pixels outside the " << fitted.width << "x" << fitted.height
                << " picture are not the page colour " << Hex(face) << ", the first at (" << first.x
                << "," << first.y << "): " << Hex(image.At(first.x, first.y)) << "; ";
        failed = true;
    }
    // And the picture reaches its last row and column.
    bool lastRow = false;
    bool lastColumn = false;
    for (int x = 0; x < fitted.width; ++x)
        lastRow = lastRow || image.At(x, fitted.height - 1) != face;
    for (int y = 0; y < fitted.height; ++y)
        lastColumn = lastColumn || image.At(fitted.width - 1, y) != face;
    if (!lastRow || !lastColumn) {
        failure << "the picture's " << (lastRow ? "" : "last row ")
                << (lastColumn ? "" : "last column ") << "shows only the page colour; ";
        failed = true;
    }

    int differing = 0;
    int worst = 0;
    for (int y = 0; y < fitted.height; ++y)
        for (int x = 0; x < fitted.width; ++x) {
            const int distance = ChannelDistance(image.At(x, y), expected.At(x, y));
            worst = std::max(worst, distance);
            if (distance > kTolerance && !differing++)
                first = {x, y};
        }
    if (differing) {
        failure << differing << " of the picture's pixels differ from the cover reduced to "
                << fitted.width << "x" << fitted.height << " by up to " << worst
                << ", the first at (" << first.x << "," << first.y
                << "): " << Hex(image.At(first.x, first.y)) << " where the cover has "
                << Hex(expected.At(first.x, first.y)) << "; ";
        failed = true;
    }
    return failed ? failure : testing::AssertionSuccess();
}

int MeasureFormText() {
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    HFONT font = CreateFontA(ui::MulDivRound(-11, pixelsPerInch, 96), 0, 0, 0, FW_NORMAL, FALSE,
                             FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size = {};
    GetTextExtentPoint32A(screen, "0", 1, &size);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return pixelsPerInch << 16 | static_cast<int>(size.cy);
}

Pixels CaptureMainWindow(const MainWindowParts& parts) {
    BringToFront(parts.main);
    const Colour face = FromColorRef(GetSysColor(COLOR_BTNFACE));
    // The cover is decoded on the image's first paint, some time after the window shows.
    return CaptureWhenPainted(ScreenRect(parts.main), [&](const Pixels& shown) {
        const Pixels image = ImageIn(shown, parts);
        const auto painted = std::count_if(image.data.begin(), image.data.end(),
                                           [&](Colour c) { return c != face; });
        return painted > static_cast<std::ptrdiff_t>(image.data.size() / 2);
    });
}

Pixels ImageIn(const Pixels& window, const MainWindowParts& parts) {
    const RECT frame = ScreenRect(parts.main);
    const RECT image = ScreenRect(parts.image);
    return window.Crop(image.left - frame.left, image.top - frame.top, image.right - image.left,
                       image.bottom - image.top);
}

} // namespace e2e
