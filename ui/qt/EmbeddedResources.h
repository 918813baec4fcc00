#pragma once
// The table of data linked into the executable; the build generates it from the same
// files that the Windows resource script names.

#include <cstddef>

namespace ui {

struct EmbeddedResource {
    const char* type; // "FILE" or "RCDATA"
    const char* name; // upper case, as in the Windows resource script
    const unsigned char* begin;
    const unsigned char* end;
};

extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

} // namespace ui
