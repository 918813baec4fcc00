#include "ResourceStream.h"

#include "EmbeddedResources.h"
#include "Exception.h"

#include <cctype>
#include <string_view>

namespace {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

TResourceStream::TResourceStream(const std::string& name, ResourceType type) {
    const std::string_view typeName = type == ResourceType::File ? "FILE" : "RCDATA";
    for (std::size_t i = 0; i < ui::kEmbeddedResourceCount; ++i) {
        const ui::EmbeddedResource& entry = ui::kEmbeddedResources[i];
        if (entry.type == typeName && SameName(entry.name, name)) {
            memory_ = entry.begin;
            size_ = static_cast<std::size_t>(entry.end - entry.begin);
            return;
        }
    }
    throw EResNotFound(name);
}

// The data is part of the executable's image; there is nothing to give back.
TResourceStream::~TResourceStream() = default;
