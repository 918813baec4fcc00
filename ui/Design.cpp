#include "Design.h"

#include "Exception.h"

#include <cctype>

namespace ui {
namespace {

// Text designs are read line by line: each line is "object Name: TClass", "end", or
// "Property = value", where a binary value may run over several lines up to its "}".
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    DesignObject ReadRoot() {
        SkipSpace();
        DesignObject root = ReadObject();
        SkipSpace();
        if (pos_ < text_.size())
            Fail("text after the last \"end\"");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw Exception("Error reading design, line " + std::to_string(line_) + ": " + what);
    }

    void SkipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            if (text_[pos_] == '\n')
                ++line_;
            ++pos_;
        }
    }
    void SkipBlanks() { // within one line
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
            ++pos_;
    }
    bool AtEndOfLine() {
        SkipBlanks();
        return pos_ >= text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n';
    }
    void Expect(char c) {
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != c)
            Fail(std::string("expected \"") + c + "\"");
        ++pos_;
    }

    std::string Word(bool dotted) {
        SkipBlanks();
        const std::size_t start = pos_;
        while (pos_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (std::isalnum(c) || c == '_' || (dotted && c == '.') || (pos_ > start && c == '-'))
                ++pos_;
            else
                break;
        }
        if (pos_ == start)
            Fail("expected a name");
        return std::string(text_.substr(start, pos_ - start));
    }

    DesignObject ReadObject() {
        DesignObject object;
        object.line = line_;
        if (Word(false) != "object")
            Fail("expected \"object\"");
        object.name = Word(false);
        Expect(':');
        object.className = Word(false);
        if (!AtEndOfLine())
            Fail("unexpected text after the class name");
        for (;;) {
            SkipSpace();
            if (pos_ >= text_.size())
                Fail("missing \"end\" of " + object.name);
            const std::size_t mark = pos_;
            const std::string word = Word(true);
            if (word == "end") {
                if (!AtEndOfLine())
                    Fail("unexpected text after \"end\"");
                return object;
            }
            if (word == "object") {
                pos_ = mark;
                object.children.push_back(ReadObject());
                continue;
            }
            if (!object.children.empty())
                Fail("property " + word + " after a child object");
            DesignProperty property;
            property.line = line_;
            property.name = word;
            Expect('=');
            property.value = ReadValue();
            if (!AtEndOfLine())
                Fail("unexpected text after the value of " + word);
            object.properties.push_back(std::move(property));
        }
    }

    DesignValue ReadValue() {
        SkipBlanks();
        if (pos_ >= text_.size())
            Fail("expected a value");
        const char c = text_[pos_];
        DesignValue value;
        if (c == '\'' || c == '#') {
            value.kind = DesignValue::Kind::String;
            value.text = ReadString();
        } else if (c == '[') {
            value.kind = DesignValue::Kind::Set;
            value.set = ReadSet();
        } else if (c == '{') {
            value.kind = DesignValue::Kind::Binary;
            value.binary = ReadBinary();
        } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
            value.kind = DesignValue::Kind::Integer;
            value.integer = ReadInteger();
        } else {
            value.kind = DesignValue::Kind::Identifier;
            value.text = Word(false);
        }
        return value;
    }

    long long ReadInteger() {
        const bool negative = text_[pos_] == '-';
        if (negative)
            ++pos_;
        if (pos_ >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[pos_])))
            Fail("expected a number");
        long long magnitude = 0;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            magnitude = magnitude * 10 + (text_[pos_++] - '0');
            if (magnitude > 0x7FFFFFFF)
                Fail("number out of range");
        }
        return negative ? -magnitude : magnitude;
    }

    // 'quoted' parts, with '' for a quote, joined with #code characters (code points).
    std::string ReadString() {
        std::string out;
        while (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) {
            if (text_[pos_] == '#') {
                ++pos_;
                AppendUtf8(out, static_cast<unsigned long>(ReadInteger()));
                continue;
            }
            ++pos_;
            for (;;) {
                if (pos_ >= text_.size() || text_[pos_] == '\n')
                    Fail("unterminated string");
                if (text_[pos_] == '\'') {
                    if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
                        out += '\'';
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                out += text_[pos_++];
            }
        }
        return out;
    }

    void AppendUtf8(std::string& out, unsigned long code) {
        if (code > 0x10FFFF)
            Fail("character code out of range");
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::vector<std::string> ReadSet() {
        std::vector<std::string> members;
        Expect('[');
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == ']') {
            ++pos_;
            return members;
        }
        for (;;) {
            members.push_back(Word(false));
            SkipBlanks();
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            Expect(']');
            return members;
        }
    }

    std::vector<unsigned char> ReadBinary() {
        std::vector<unsigned char> bytes;
        Expect('{');
        int high = -1;
        for (;;) {
            SkipSpace();
            if (pos_ >= text_.size())
                Fail("missing \"}\"");
            const char c = text_[pos_++];
            if (c == '}')
                break;
            int nibble;
            if (c >= '0' && c <= '9')
                nibble = c - '0';
            else if (c >= 'A' && c <= 'F')
                nibble = c - 'A' + 10;
            else if (c >= 'a' && c <= 'f')
                nibble = c - 'a' + 10;
            else
                Fail("expected a hexadecimal digit");
            if (high < 0) {
                high = nibble;
            } else {
                bytes.push_back(static_cast<unsigned char>(high << 4 | nibble));
                high = -1;
            }
        }
        if (high >= 0)
            Fail("odd number of hexadecimal digits");
        return bytes;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

} // namespace

DesignObject ParseDesign(std::string_view text) {
    return Reader(text).ReadRoot();
}

} // namespace ui
