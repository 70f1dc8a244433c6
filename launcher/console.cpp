#include <cstdint>
#include <cstdio>
#include <cstring>

#include "launcher.h"

namespace {

// A count too large for the handler's result is reported as the largest one,
// never as a negative number that would read as an error.
int32_t byteCount(std::size_t count)
{
    return count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(count);
}

std::size_t textLength(const char* text)
{
    // A null text is taken as the empty one: nothing to write.
    return text == nullptr ? 0 : std::strlen(text);
}

}  // namespace

int32_t consolePrintHandler(const char* text)
{
    const std::size_t length = textLength(text);
    if (length == 0) {
        return 0;
    }
    return byteCount(std::fwrite(text, 1, length, stdout));
}

int32_t consoleErrorHandler(const char* text)
{
    const std::size_t length = textLength(text);
    if (length == 0) {
        return 0;
    }
    std::size_t written = std::fwrite(text, 1, length, stderr);
    // Decided on the text passed in, not on how much of it was written.
    if (text[length - 1] != '\n') {
        written += std::fwrite("\n", 1, 1, stderr);
    }
    return byteCount(written);
}
