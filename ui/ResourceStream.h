#pragma once
// A read-only view of one resource of the running executable: the address of its first
// byte and its size, with no copy. The view is given back when the stream is destroyed.

#include <cstddef>
#include <string>

enum class ResourceType {
    File,   // the documents: the string type "FILE"
    RCData, // raw data, such as a form's design
};

class TResourceStream {
public:
    // Raises EResNotFound with the name as given when the executable has no such resource.
    // Names are matched without regard to case, as Windows does.
    TResourceStream(const std::string& name, ResourceType type);
    ~TResourceStream();
    TResourceStream(const TResourceStream&) = delete;
    TResourceStream& operator=(const TResourceStream&) = delete;

    const void* Memory() const noexcept { return memory_; }
    std::size_t Size() const noexcept { return size_; }

private:
    const void* memory_ = nullptr;
    std::size_t size_ = 0;
    void* handle_ = nullptr; // the loaded resource, where the host has one
};
