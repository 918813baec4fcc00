// The cover picture in the built design: the layout the image reads, and the JPEG whole.

#include "Design.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DesignPicture, IsTheClassNameTheCountAndTheCoverJpeg) {
    const ui::DesignObject form = ui::ParseDesign(ReadAll(KORVEL_DESIGN_FILE));
    const ui::DesignObject& sheet = form.children.at(0).children.at(0);
    const ui::DesignObject& image = sheet.children.at(0);
    ASSERT_EQ(image.name, "Image1");
    const ui::DesignProperty* picture = nullptr;
    for (const auto& p : image.properties)
        if (p.name == "Picture.Data")
            picture = &p;
    ASSERT_NE(picture, nullptr);
    const std::vector<unsigned char>& data = picture->value.binary;

    const std::string jpeg = ReadAll(std::string(KORVEL_SOURCE_DIR) + "/resources/cover.jpg");
    ASSERT_GT(jpeg.size(), 1000u);
    ASSERT_EQ(data.size(), 15 + jpeg.size());
    EXPECT_EQ(data[0], 10);
    EXPECT_EQ(std::string(data.begin() + 1, data.begin() + 11), "TJPEGImage");
    const std::size_t count =
        data[11] | data[12] << 8 | data[13] << 16 | static_cast<std::size_t>(data[14]) << 24;
    EXPECT_EQ(count, jpeg.size());
    EXPECT_TRUE(
        std::equal(jpeg.begin(), jpeg.end(), data.begin() + 15,
                   [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; }));
    // From its start-of-image marker to its end-of-image marker.
    EXPECT_EQ(data[15], 0xFF);
    EXPECT_EQ(data[16], 0xD8);
    EXPECT_EQ(data[data.size() - 2], 0xFF);
    EXPECT_EQ(data[data.size() - 1], 0xD9);
}

} // namespace
