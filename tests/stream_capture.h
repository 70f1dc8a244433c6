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

inline CapturedStreams captureStreams(const std::function<void()>& body)
{
    std::fflush(stdout);
    std::fflush(stderr);
    std::FILE* outFile = std::tmpfile();
    std::FILE* errFile = std::tmpfile();
    const int savedOut = dup(STDOUT_FILENO);
    const int savedErr = dup(STDERR_FILENO);
    dup2(fileno(outFile), STDOUT_FILENO);
    dup2(fileno(errFile), STDERR_FILENO);

    body();

    std::fflush(stdout);
    std::fflush(stderr);
    dup2(savedOut, STDOUT_FILENO);
    dup2(savedErr, STDERR_FILENO);
    close(savedOut);
    close(savedErr);

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
    std::FILE* stream = descriptor == STDOUT_FILENO ? stdout : stderr;
    std::fflush(stream);
    const int saved = dup(descriptor);
    if (failure == Failure::closed) {
        close(descriptor);
    } else if (failure == Failure::full) {
        const int full = open("/dev/full", O_WRONLY);
        dup2(full, descriptor);
        close(full);
    } else {
        int ends[2];
        if (pipe(ends) == 0) {
            close(ends[0]);
            dup2(ends[1], descriptor);
            close(ends[1]);
        }
    }

    body();

    std::fflush(stream);
    std::clearerr(stream);
    dup2(saved, descriptor);
    close(saved);
}

#endif
