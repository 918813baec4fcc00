#pragma once
// Turns a UTF-8 literal into its Windows code page 1251 bytes at compile time, so that the
// catalogue can be written in readable Cyrillic and still hold the exact bytes that the
// ANSI file calls receive. Only the characters our names use are accepted: ASCII, the
// Russian alphabet and the numero sign; anything else stops the build.
//
// The way back, Cp1251ToUtf8, runs on hosts whose file names are UTF-8. It knows the whole
// code page, not just our letters, so that no byte of a name can turn into a wrong or
// malformed file name.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace documents {

template <std::size_t N> struct Cp1251Text {
    char bytes[N] = {};
    std::size_t size = 0;
    constexpr const char* c_str() const { return bytes; }
};

constexpr char Cp1251Byte(unsigned code) {
    if (code < 0x80)
        return static_cast<char>(code);
    if (code >= 0x410 && code <= 0x44F) // А … я
        return static_cast<char>(code - 0x410 + 0xC0);
    if (code == 0x401) // Ё
        return static_cast<char>(0xA8);
    if (code == 0x451) // ё
        return static_cast<char>(0xB8);
    if (code == 0x2116) // №
        return static_cast<char>(0xB9);
    throw std::logic_error("character outside code page 1251's letters");
}

template <std::size_t N> constexpr Cp1251Text<N> ToCp1251(const char (&utf8)[N]) {
    Cp1251Text<N> out;
    for (std::size_t i = 0; i + 1 < N;) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        unsigned code = lead;
        std::size_t length = 1;
        if (lead >= 0xE0) {
            code = lead & 0x0F;
            length = 3;
        } else if (lead >= 0xC0) {
            code = lead & 0x1F;
            length = 2;
        }
        for (std::size_t k = 1; k < length; ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.bytes[out.size++] = Cp1251Byte(code);
        i += length;
    }
    return out;
}

// The code points of bytes 0x80 to 0xBF; 0xC0 to 0xFF are А to я in order. Byte 0x98 has no
// character in the code page and becomes the replacement character, never a control code.
inline constexpr char16_t kCp1251UpperHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8
};

constexpr char16_t Cp1251CodePoint(unsigned char byte) {
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return static_cast<char16_t>(0x0410 + (byte - 0xC0));
    return kCp1251UpperHalf[byte - 0x80];
}

inline std::string Cp1251ToUtf8(std::string_view cp1251) {
    std::string utf8;
    utf8.reserve(cp1251.size() * 2);
    for (const char c : cp1251) {
        const unsigned code = Cp1251CodePoint(static_cast<unsigned char>(c));
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (code >> 12));
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return utf8;
}

} // namespace documents
