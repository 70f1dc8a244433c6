// Drives both console handlers with arbitrary bytes and checks, for every
// input, the exact bytes each stream receives and the counts returned.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "launcher.h"

namespace {

// A stream that collects what is written to it in memory.
struct MemoryStream {
    char* bytes = nullptr;
    std::size_t size = 0;
    std::FILE* file = open_memstream(&bytes, &size);
};

void require(bool condition, const char* what)
{
    if (!condition) {
        (void)std::fprintf(stderr, "console handler fault: %s\n", what);  // aborting either way
        std::abort();
    }
}

std::string collect(MemoryStream& stream)
{
    require(std::fclose(stream.file) == 0, "a memory stream failed");
    std::string result(stream.bytes, stream.size);
    std::free(stream.bytes);
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    // The handlers see a C text: the input up to its first NUL.
    const std::string input(reinterpret_cast<const char*>(data), size);
    const char* text = input.c_str();
    const std::string expectedOut(text);
    std::string expectedErr = expectedOut;
    if (!expectedErr.empty() && expectedErr.back() != '\n') {
        expectedErr += '\n';
    }

    MemoryStream out;
    MemoryStream err;
    std::FILE* realOut = stdout;
    std::FILE* realErr = stderr;
    stdout = out.file;
    stderr = err.file;
    const int32_t printed = consolePrintHandler(text);
    const int32_t errored = consoleErrorHandler(text);
    stdout = realOut;
    stderr = realErr;

    const std::string gotOut = collect(out);
    const std::string gotErr = collect(err);
    require(gotOut == expectedOut, "standard output differs from the text");
    require(printed == static_cast<int32_t>(expectedOut.size()), "print count");
    require(gotErr == expectedErr, "standard error differs from the completed text");
    require(errored == static_cast<int32_t>(expectedErr.size()), "error count");
    return 0;
}
