// The catalogue: five rows in button order, with the exact file name bytes that the ANSI
// file calls receive, and captions that agree with the main window's design.

#include "Design.h"
#include "DocumentCatalogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

TEST(Catalogue, RowNNamesButtonNAndResourceDocN) {
    ASSERT_EQ(DocumentCatalogue.size(), 5u);
    for (std::size_t i = 0; i < DocumentCatalogue.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        EXPECT_EQ(DocumentCatalogue[i].ButtonName, "Button" + n);
        EXPECT_EQ(DocumentCatalogue[i].ResourceName, "DOC" + n);
    }
}

TEST(Catalogue, FileNamesAreTheirCodePage1251Bytes) {
    const struct {
        const char* bytes;
        std::size_t length;
    } expected[] = {
        {"\xCC\xD1\xD4\xCE 20.doc", 11},
        {"\xCC\xD1\xD4\xCE 41.doc", 11},
        {"\xC7\xE0\xEA\xEE\xED \xD0\xCA \xEE\xF2 10 \xEC\xE0\xF0\xF2\xE0 2004 \xE3\xEE\xE4\xE0 "
         "\xB9 533-II.doc",
         43},
        // Row 4 carries the document's full title, not its short caption.
        {"\xCC\xE5\xF2\xEE\xE4\xE8\xF7\xE5\xF1\xEA\xE8\xE5 \xF0\xE5\xEA\xEE\xEC\xE5\xED\xE4\xE0"
         "\xF6\xE8\xE8 \xEF\xEE \xEF\xF0\xE8\xEC\xE5\xED\xE5\xED\xE8\xFE \xCC\xD1\xC1\xD3 41.doc",
         51},
        {"\xCD\xE0\xEB\xEE\xE3\xEE\xE2\xE0\xFF \xF3\xF7\xE5\xF2\xED\xE0\xFF \xEF\xEE\xEB\xE8\xF2"
         "\xE8\xEA\xE0.doc",
         30},
    };
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(std::strlen(DocumentCatalogue[i].FileName), expected[i].length)
            << "row " << i + 1;
        EXPECT_STREQ(DocumentCatalogue[i].FileName, expected[i].bytes) << "row " << i + 1;
    }
}

TEST(Catalogue, CaptionsAreUtf8AndMatchTheDesign) {
    EXPECT_STREQ(DocumentCatalogue[0].ButtonCaption, "\xD0\x9C\xD0\xA1\xD0\xA4\xD0\x9E 20");
    EXPECT_NE(std::strstr(DocumentCatalogue[2].ButtonCaption, "\xE2\x84\x96 533-II"), nullptr);

    std::ifstream in(KORVEL_DESIGN_FILE, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const ui::DesignObject form = ui::ParseDesign(text.str());
    const ui::DesignObject& sheet = form.children.at(0).children.at(0);
    for (const DocumentEntry& row : DocumentCatalogue) {
        const ui::DesignObject* button = nullptr;
        for (const auto& child : sheet.children)
            if (child.name == row.ButtonName)
                button = &child;
        ASSERT_NE(button, nullptr) << row.ButtonName;
        std::string caption;
        for (const auto& p : button->properties)
            if (p.name == "Caption")
                caption = p.value.text;
        EXPECT_EQ(caption, row.ButtonCaption) << row.ButtonName;
    }
}

} // namespace
