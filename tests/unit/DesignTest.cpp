// Reading a form's design text into its tree of objects and values.

#include "Design.h"
#include "Exception.h"

#include <gtest/gtest.h>

namespace {

using Kind = ui::DesignValue::Kind;

TEST(Design, ReadsObjectsPropertiesAndEveryKindOfValue) {
    const ui::DesignObject root = ui::ParseDesign(R"(object Form1: TForm1
  Left = 227
  Font.Height = -11
  Caption = 'It''s '#1052#1057'Ф'
  BorderIcons = [biSystemMenu, biMinimize]
  Font.Style = []
  Visible = True
  object Panel: TPanel
    Picture.Data = {
      0A54 4A50
      4547}
    object Inner: TButton
    end
  end
  object Second: TButton
  end
end
)");
    EXPECT_EQ(root.name, "Form1");
    EXPECT_EQ(root.className, "TForm1");
    ASSERT_EQ(root.properties.size(), 6u);
    EXPECT_EQ(root.properties[0].name, "Left");
    EXPECT_EQ(root.properties[0].value.integer, 227);
    EXPECT_EQ(root.properties[1].name, "Font.Height");
    EXPECT_EQ(root.properties[1].value.integer, -11);
    EXPECT_EQ(root.properties[2].value.kind, Kind::String);
    EXPECT_EQ(root.properties[2].value.text, "It's МСФ");
    EXPECT_EQ(root.properties[3].value.set,
              (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
    EXPECT_EQ(root.properties[4].value.kind, Kind::Set);
    EXPECT_TRUE(root.properties[4].value.set.empty());
    EXPECT_EQ(root.properties[5].value.kind, Kind::Identifier);
    EXPECT_EQ(root.properties[5].value.text, "True");
    EXPECT_EQ(root.properties[5].line, 7);

    ASSERT_EQ(root.children.size(), 2u);
    const ui::DesignObject& panel = root.children[0];
    EXPECT_EQ(panel.className, "TPanel");
    EXPECT_EQ(panel.properties[0].value.binary,
              (std::vector<unsigned char>{0x0A, 0x54, 0x4A, 0x50, 0x45, 0x47}));
    ASSERT_EQ(panel.children.size(), 1u);
    EXPECT_EQ(panel.children[0].name, "Inner");
    EXPECT_EQ(root.children[1].name, "Second");
}

TEST(Design, MalformedTextIsRejectedWithItsLine) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"", "line 1: expected a name"},
        {"form Form1: TForm1\nend\n", "line 1: expected \"object\""},
        {"object Form1 TForm1\nend\n", "line 1: expected \":\""},
        {"object Form1: TForm1\n  Left 1\nend\n", "line 2: expected \"=\""},
        {"object Form1: TForm1\n  Left =\nend\n", "line 2: expected a name"},
        {"object Form1: TForm1\n  Caption = 'open\nend\n", "line 2: unterminated string"},
        {"object Form1: TForm1\n  Data = {0A1}\nend\n", "line 2: odd number of hexadecimal digits"},
        {"object Form1: TForm1\n  Data = {0G}\nend\n", "line 2: expected a hexadecimal digit"},
        {"object Form1: TForm1\n  Data = {0A\n", "line 3: missing \"}\""},
        {"object Form1: TForm1\n  Left = 99999999999\nend\n", "line 2: number out of range"},
        {"object Form1: TForm1\n  Left = 1 2\nend\n",
         "line 2: unexpected text after the value of Left"},
        {"object Form1: TForm1\n  object B: TButton\n  end\n  Left = 1\nend\n",
         "line 4: property Left after a child object"},
        {"object Form1: TForm1\n  Left = 1\n", "line 3: missing \"end\" of Form1"},
        {"object Form1: TForm1\nend\nend\n", "line 3: text after the last \"end\""},
        {"object Form1: TForm1\n  S = [a b]\nend\n", "line 2: expected \"]\""},
    };
    for (const auto& c : cases) {
        try {
            ui::ParseDesign(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), std::string("Error reading design, ") + c.message) << c.text;
        }
    }
}

} // namespace
