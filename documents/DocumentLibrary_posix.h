#pragma once
// The calls below OpenDocument that a test may replace, to inject a failed write or to
// watch the open request without starting a program.

#include "Desktop.h"

#include <sys/types.h>
#include <unistd.h>

namespace documents::posix {

struct SystemCalls {
    ssize_t (*write)(int fd, const void* bytes, size_t size) = ::write;
    void (*openWithDesktop)(TWinControl* owner, const std::string& path) = ui::OpenWithDesktop;
};

SystemCalls& Calls();

} // namespace documents::posix
