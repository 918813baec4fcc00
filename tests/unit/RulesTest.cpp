// The layer's pure rules, each a table of cases.

#include "Rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

TEST(ApplicationTitle, IsTheFileNameUpToItsFirstDotWithOnlyTheFirstLetterKept) {
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"C:\\KORVEL\\READER.EXE", "Reader"},
        {"D:\\Tools\\my.tool.exe", "my"},
        {"E:\\Korvel.exe", "Korvel"},
        {"E:\\korvel.exe", "korvel"},
        // The folder plays no part, even with dots and capitals of its own.
        {"C:\\Program Files\\Old.Version\\KORVEL.EXE", "Korvel"},
        {"\\\\server\\share.d\\Setup.2004.exe", "Setup"},
        {"KORVEL", "Korvel"},
        {"C:\\dir\\.hidden.exe", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::ApplicationTitle(c.path, LowerAscii), c.title) << c.path;
}

TEST(FullStop, IsAddedOnlyAfterACharacterAboveTheFullStop) {
    const struct {
        std::string message;
        std::string shown;
    } cases[] = {
        {"Stream write error", "Stream write error."},
        {"Resource DOC3 not found", "Resource DOC3 not found."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"(see above)", "(see above)"},
        {"Why?", "Why?."},
        {"Version 2", "Version 2."},
        {"Note:", "Note:."},
        {"a,", "a,"},
        {"a-", "a-"},
        {"trailing space ", "trailing space "},
        {"line\n", "line\n"},
        {"", ""},
        // Any byte of a code page's upper half counts as above.
        {"c:\\Korvel\\\xCC\xD1\xD4\xCE", "c:\\Korvel\\\xCC\xD1\xD4\xCE."},
        {"\xE2\x84\x96", "\xE2\x84\x96."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::WithFullStop(c.message), c.shown) << '"' << c.message << '"';
}

TEST(FitPicture, KeepsTheAspectRatioAndNeverEnlarges) {
    const ui::Size control{153, 217};
    const struct {
        ui::Size picture;
        ui::Size drawn;
    } cases[] = {
        {{270, 378}, {153, 214}}, // the cover
        {{153, 217}, {153, 217}}, // fits exactly: drawn as it is
        {{100, 50}, {100, 50}},
        {{154, 217}, {153, 215}},
        {{153, 218}, {152, 217}},
        {{400, 300}, {153, 114}},
        {{100, 300}, {72, 217}},
        {{300, 300}, {153, 153}},
        {{1000, 1}, {153, 0}},
        {{0, 0}, {0, 0}},
        // Sizes that are not positive fill the control once fitting is called for.
        {{0, 400}, {153, 217}},
        {{-5, 300}, {153, 217}},
        {{400, -1}, {153, 217}},
    };
    for (const auto& c : cases) {
        const ui::Size drawn = ui::FitPicture(c.picture, control, true, false);
        EXPECT_EQ(drawn, c.drawn) << c.picture.width << "x" << c.picture.height << " gave "
                                  << drawn.width << "x" << drawn.height;
    }
}

TEST(FitPicture, WithoutProportionalAPictureIsCutOrStretched) {
    const ui::Size control{153, 217};
    EXPECT_EQ(ui::FitPicture({270, 378}, control, false, false), (ui::Size{270, 378}));
    EXPECT_EQ(ui::FitPicture({270, 378}, control, false, true), control);
    EXPECT_EQ(ui::FitPicture({10, 10}, control, false, true), control);
    // Stretch with Proportional enlarges, keeping the ratio.
    EXPECT_EQ(ui::FitPicture({10, 20}, control, true, true), (ui::Size{108, 217}));
}

TEST(MulDivRound, RoundsHalvesAwayFromZero) {
    const struct {
        int value, numerator, denominator, result;
    } cases[] = {
        {477, 16, 13, 587},                                 // 587.08
        {289, 16, 13, 356},                                 // 355.69
        {8, 16, 13, 10},                                    // 9.85
        {13, 16, 13, 16},    {-11, 120, 96, -14},           // -13.75
        {-11, 144, 96, -17},                                // -16.5: away from zero
        {11, 144, 96, 17},                                  // 16.5
        {1, 1, 2, 1},                                       // 0.5
        {-1, 1, 2, -1},      {5, -1, 2, -3},                // -2.5
        {0, 7, 3, 0},        {100000, 30000, 60000, 50000}, // the product exceeds 32 bits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::MulDivRound(c.value, c.numerator, c.denominator), c.result)
            << c.value << "*" << c.numerator << "/" << c.denominator;
    }
}

TEST(ScaleBounds, MovesAllFourEdgesAlike) {
    const struct {
        ui::Bounds design;
        int textHeight;
        ui::Bounds scaled;
    } cases[] = {
        {{8, 16, 257, 25}, 13, {8, 16, 257, 25}},  // the design's own screen
        {{8, 16, 257, 25}, 16, {10, 20, 316, 30}}, // 120 per inch, T = 16
        {{8, 64, 257, 25}, 16, {10, 79, 316, 31}}, // edges at 78.77 and 109.54: height 31
        {{288, 16, 153, 217}, 16, {354, 20, 189, 267}},
        {{8, 8, 457, 273}, 16, {10, 10, 562, 336}},
        {{8, 16, 257, 25}, 10, {6, 12, 198, 20}}, // a smaller font shrinks the design
        {{0, 0, 0, 0}, 16, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const ui::Bounds got = ui::ScaleBounds(c.design, c.textHeight, 13);
        EXPECT_EQ(got, c.scaled) << c.design.left << "," << c.design.top << " " << c.design.width
                                 << "x" << c.design.height << " at T=" << c.textHeight << " gave "
                                 << got.left << "," << got.top << " " << got.width << "x"
                                 << got.height;
    }
    // Neighbours stay flush: the right edge of one is the left edge of the next.
    const ui::Bounds a = ui::ScaleBounds({8, 0, 257, 0}, 17, 13);
    const ui::Bounds b = ui::ScaleBounds({265, 0, 23, 0}, 17, 13);
    EXPECT_EQ(a.left + a.width, b.left);
}

TEST(ScaleFontHeight, WorksInWholePoints) {
    const struct {
        int height, pixelsPerInch, textHeight, scaled;
    } cases[] = {
        {-11, 96, 13, -11},  // 8 pt stays 8 pt: -10.67 rounds to -11
        {-11, 96, 16, -13},  // 8 pt × 16/13 = 9.85 → 10 pt → 13.33 px
        {-11, 120, 16, -15}, // 6.6 → 7 pt, × 16/13 = 8.6 → 9 pt → 15 px
        {-11, 144, 19, -18}, // 5.5 → 6 pt (halves away), × 19/13 = 8.77 → 9 pt → 18 px
        {-11, 96, 10, -8},   // 8 × 10/13 = 6.15 → 6 pt → 8 px
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::ScaleFontHeight(c.height, c.pixelsPerInch, c.textHeight, 13), c.scaled)
            << c.height << " at " << c.pixelsPerInch << " per inch, T=" << c.textHeight;
}

} // namespace
