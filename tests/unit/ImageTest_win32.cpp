// The image decodes the design's JPEG with the system's decoder, and draws it fitted.

#include "Image.h"
#include "Native.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::vector<std::uint8_t> Cover() {
    std::ifstream in(std::string(KORVEL_SOURCE_DIR) + "/resources/cover.jpg", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Picture, TheCoverDecodesTo270By378InColour) {
    const std::shared_ptr<void> decoded = ui::win32::DecodePicture(Cover());
    ASSERT_TRUE(decoded);
    auto* bitmap = static_cast<HBITMAP>(decoded.get());
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectA(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, 270);
    EXPECT_EQ(dib.dsBm.bmHeight, 378);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);

    // Colour, not grey: some pixel has channels that differ.
    const auto* bits = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
    bool colour = false;
    for (int y = 0; y < 378 && !colour; ++y)
        for (int x = 0; x < 270 && !colour; ++x) {
            const std::uint8_t* p = bits + y * dib.dsBm.bmWidthBytes + x * 3;
            colour = std::abs(p[0] - p[1]) > 40 || std::abs(p[1] - p[2]) > 40;
        }
    EXPECT_TRUE(colour);
}

TEST(Picture, DataThatIsNoPictureDecodesToNothing) {
    EXPECT_FALSE(ui::win32::DecodePicture({}));
    EXPECT_FALSE(ui::win32::DecodePicture({'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'}));
    std::vector<std::uint8_t> cut = Cover();
    cut.resize(20);
    EXPECT_FALSE(ui::win32::DecodePicture(cut));
}

} // namespace
