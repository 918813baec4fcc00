#pragma once
// The failures that reach the user. Message() is the text the error box shows, in the
// host's narrow encoding (the ANSI code page on Windows, UTF-8 elsewhere).

#include <exception>
#include <string>
#include <string_view>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A failure that is not to be reported: the exception display stays silent.
class EAbort : public Exception {
public:
    using Exception::Exception;
};

class EResNotFound : public Exception {
public:
    explicit EResNotFound(std::string_view name);
};

class EFCreateError : public Exception {
public:
    explicit EFCreateError(std::string_view path);
};

class EWriteError : public Exception {
public:
    EWriteError();
};

namespace ui {
// Fills the single "%s" of a message pattern.
std::string Substitute(std::string_view pattern, std::string_view argument);
} // namespace ui
