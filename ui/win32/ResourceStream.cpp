#include "ResourceStream.h"

#include "Exception.h"

#include <windows.h>

namespace {
LPCSTR TypeName(ResourceType type) {
    return type == ResourceType::File ? "FILE" : MAKEINTRESOURCEA(10); // RT_RCDATA
}
} // namespace

TResourceStream::TResourceStream(const std::string& name, ResourceType type) {
    // Module 0 is the executable that started the process.
    HRSRC info = FindResourceA(nullptr, name.c_str(), TypeName(type));
    if (!info)
        throw EResNotFound(name);
    HGLOBAL data = LoadResource(nullptr, info);
    if (!data)
        throw EResNotFound(name);
    handle_ = data;
    size_ = SizeofResource(nullptr, info);
    memory_ = LockResource(data);
}

TResourceStream::~TResourceStream() {
    FreeResource(static_cast<HGLOBAL>(handle_));
}
