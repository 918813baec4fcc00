// How the resource script files the data: the documents under the string type "FILE" in
// the neutral language, the icon group MAINICON in Russian with its one 744-byte image.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list) {
    reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
    return TRUE;
}

// Every language a resource is filed under (a lookup in one language falls back to others).
std::vector<WORD> LanguagesOf(LPCSTR type, LPCSTR name) {
    std::vector<WORD> languages;
    EnumResourceLanguagesA(nullptr, type, name, AddLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

DWORD SizeOf(LPCSTR type, LPCSTR name, WORD language) {
    HRSRC found = FindResourceExA(nullptr, type, name, language);
    return found ? SizeofResource(nullptr, found) : 0;
}

TEST(ResourceScript, DocumentsAreFileResourcesInTheNeutralLanguage) {
    const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    for (const char* name : {"DOC1", "DOC2", "DOC3", "DOC4", "DOC5"}) {
        EXPECT_EQ(LanguagesOf("FILE", name), std::vector<WORD>{neutral}) << name;
        EXPECT_GT(SizeOf("FILE", name, neutral), 0u) << name;
    }
    EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEA(10), "TFORM1"), std::vector<WORD>{neutral}); // RT_RCDATA
}

TEST(ResourceScript, TheIconGroupIsRussianWithOneSixteenColourImage) {
    const WORD russian = MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT);
    EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEA(14), "MAINICON"), std::vector<WORD>{russian});
    EXPECT_EQ(LanguagesOf(MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(1)), std::vector<WORD>{russian});
    EXPECT_EQ(SizeOf(MAKEINTRESOURCEA(14), "MAINICON", russian), 20u);          // RT_GROUP_ICON
    EXPECT_EQ(SizeOf(MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(1), russian), 744u); // RT_ICON 1

    HRSRC group = FindResourceExA(nullptr, MAKEINTRESOURCEA(14), "MAINICON", russian);
    ASSERT_NE(group, nullptr);
    const auto* entry = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, group)));
    // Reserved 0, type 1, count 1; then width 32, height 32, 16 colours, 1 plane, 4 bits.
    EXPECT_EQ(entry[2], 1);
    EXPECT_EQ(entry[4], 1);
    EXPECT_EQ(entry[6], 32);
    EXPECT_EQ(entry[7], 32);
    EXPECT_EQ(entry[8], 16);
    EXPECT_EQ(entry[10], 1);
    EXPECT_EQ(entry[12], 4);
}

} // namespace
