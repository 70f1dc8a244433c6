// Runs a piece of code with the process's real standard output and standard
// error file descriptors pointed at files, and returns the bytes each received.
#ifndef STREAM_CAPTURE_H
#define STREAM_CAPTURE_H

#include <cstdio>
#include <functional>
#include <string>

#include <fcntl.h>
#include <unistd.h>

struct CapturedStreams {
    std::string out;
    std::string err;
};

inline std::string readAll(std::FILE* file)
{
    std::string bytes;
    std::rewind(file);
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, n);
    }
    return bytes;
}

// Points a standard descriptor (1 or 2) at `replacement`, or closes it when
// `replacement` is -1, for the life of the object; then flushes its stream,
// clears any error the stream met, and puts the descriptor back.
class DescriptorRedirect {
public:
    DescriptorRedirect(int descriptor, int replacement)
        : descriptor_(descriptor), stream_(descriptor == STDOUT_FILENO ? stdout : stderr)
    {
        std::fflush(stream_);  // what is buffered already belongs to the old descriptor
        saved_ = dup(descriptor);
        if (replacement == -1) {
            close(descriptor);
        } else {
            dup2(replacement, descriptor);
        }
    }
    ~DescriptorRedirect()
    {
        std::fflush(stream_);
        std::clearerr(stream_);
        dup2(saved_, descriptor_);
        close(saved_);
    }
    DescriptorRedirect(const DescriptorRedirect&) = delete;
    DescriptorRedirect& operator=(const DescriptorRedirect&) = delete;

private:
    int descriptor_;
    std::FILE* stream_;
    int saved_ = -1;
};

inline CapturedStreams captureStreams(const std::function<void()>& body)
{
    std::FILE* outFile = std::tmpfile();
    std::FILE* errFile = std::tmpfile();
    {
        const DescriptorRedirect out(STDOUT_FILENO, fileno(outFile));
        const DescriptorRedirect err(STDERR_FILENO, fileno(errFile));
        body();
    }
    CapturedStreams captured{readAll(outFile), readAll(errFile)};
    std::fclose(outFile);
    std::fclose(errFile);
    return captured;
}

// Ways a standard stream's descriptor can fail every write.
enum class Failure { closed, full, readerGone };

// Runs `body` with `descriptor` (1 or 2) failing as `failure` says, then puts
// the descriptor and its stream back as they were.
inline void withFailingDescriptor(int descriptor, Failure failure,
                                  const std::function<void()>& body)
{
    int replacement = -1;
    if (failure == Failure::full) {
        replacement = open("/dev/full", O_WRONLY | O_CLOEXEC);
    } else if (failure == Failure::readerGone) {
        int ends[2] = {-1, -1};
        if (pipe2(ends, O_CLOEXEC) == 0) {
            close(ends[0]);
        }
        replacement = ends[1];
    }
    {
        const DescriptorRedirect redirect(descriptor, replacement);
        body();
    }
    if (replacement != -1) {
        close(replacement);
    }
}

#endif
