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
        {477, 16, 13, 587},  // 587.08
        {289, 16, 13, 356},  // 355.69
        {8, 16, 13, 10},     // 9.85
        {13, 16, 13, 16},
        {-11, 120, 96, -14}, // -13.75
        {-11, 144, 96, -17}, // -16.5: away from zero
        {11, 144, 96, 17},   // 16.5
        {1, 1, 2, 1},        // 0.5
        {-1, 1, 2, -1},
        {5, -1, 2, -3},      // -2.5
        {0, 7, 3, 0},
        {100000, 30000, 60000, 50000}, // the product exceeds 32 bits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::MulDivRound(c.value, c.numerator, c.denominator), c.result)
            << c.value << "*" << c.numerator << "/" << c.denominator;
    }
}

} // namespace
