// The data linked into the running executable is found by name and is, byte for byte,
// the committed file it was built from.

#include "Exception.h"
#include "ResourceStream.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct EmbeddedCase {
    const char* name;
    ResourceType type;
    std::string file;
};

std::string Source(const char* path) {
    return std::string(KORVEL_SOURCE_DIR) + "/" + path;
}

const EmbeddedCase kEmbedded[] = {
    {"DOC1", ResourceType::File, Source("resources/documents/DOC1.doc")},
    {"DOC2", ResourceType::File, Source("resources/documents/DOC2.doc")},
    {"DOC3", ResourceType::File, Source("resources/documents/DOC3.doc")},
    {"DOC4", ResourceType::File, Source("resources/documents/DOC4.doc")},
    {"DOC5", ResourceType::File, Source("resources/documents/DOC5.doc")},
    // The design is looked up by its class name, in whatever case the caller writes it.
    {"TForm1", ResourceType::RCData, KORVEL_DESIGN_FILE},
};

class EmbeddedData : public testing::TestWithParam<EmbeddedCase> {};

TEST_P(EmbeddedData, MatchesTheCommittedFileByteForByte) {
    const EmbeddedCase& c = GetParam();
    const std::vector<unsigned char> expected = ReadFile(c.file);
    ASSERT_FALSE(expected.empty());

    TResourceStream stream(c.name, c.type);
    ASSERT_EQ(stream.Size(), expected.size());
    const auto* bytes = static_cast<const unsigned char*>(stream.Memory());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes));
}

INSTANTIATE_TEST_SUITE_P(AllResources, EmbeddedData, testing::ValuesIn(kEmbedded),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EmbeddedData, EachLookupGivesTheSameBlockWithoutACopy) {
    TResourceStream first("DOC3", ResourceType::File);
    TResourceStream second("doc3", ResourceType::File);
    EXPECT_EQ(first.Memory(), second.Memory());
    EXPECT_EQ(first.Size(), second.Size());
}

struct MissingCase {
    const char* name;
    ResourceType type;
    const char* message;
};

const MissingCase kMissing[] = {
    {"DOC6", ResourceType::File, "Resource DOC6 not found"},
    {"DOC", ResourceType::File, "Resource DOC not found"},
    // A document is not found under another type, nor the design under "FILE".
    {"DOC1", ResourceType::RCData, "Resource DOC1 not found"},
    {"TForm1", ResourceType::File, "Resource TForm1 not found"},
};

TEST(EmbeddedData, AMissingNameRaisesResNotFoundWithTheNameAsGiven) {
    for (const MissingCase& c : kMissing) {
        try {
            TResourceStream stream(c.name, c.type);
            ADD_FAILURE() << c.name << " was found";
        } catch (const EResNotFound& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

} // namespace
