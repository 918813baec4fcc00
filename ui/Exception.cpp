#include "Exception.h"

namespace ui {

std::string Substitute(std::string_view pattern, std::string_view argument) {
    std::string text(pattern);
    if (auto at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

} // namespace ui

EResNotFound::EResNotFound(std::string_view name)
    : Exception(ui::Substitute("Resource %s not found", name)) {}

EFCreateError::EFCreateError(std::string_view path)
    : Exception(ui::Substitute("Cannot create file %s", path)) {}

EWriteError::EWriteError() : Exception("Stream write error") {}
