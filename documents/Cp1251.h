#pragma once
// Turns a UTF-8 literal into its Windows code page 1251 bytes at compile time, so that the
// catalogue can be written in readable Cyrillic and still hold the exact bytes that the
// ANSI file calls receive. Only the characters our names use are accepted: ASCII, the
// Russian alphabet and the numero sign; anything else stops the build.

#include <cstddef>
#include <stdexcept>

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

} // namespace documents
