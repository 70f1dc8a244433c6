// Starts the launcher as a real process, with a chosen environment, and
// collects everything it wrote to each stream and how it exited.
#ifndef PROCESS_RUNNER_H
#define PROCESS_RUNNER_H

#include <string>
#include <vector>

struct ProcessResult {
    int exitStatus;  // the low 8 bits a POSIX parent sees; -1 when killed by a signal
    int signal;      // the signal that ended it, or 0
    std::string out;
    std::string err;
};

// What the child's standard output or error is connected to.
enum class Stream {
    captured,    // a pipe read into the result
    closed,      // no descriptor at all
    full,        // /dev/full: every write fails
    brokenPipe,  // a pipe whose reader is gone before the child starts
};

// Runs `argv` (argv[0] is the program to start, searched in PATH when it has
// no slash) with exactly the environment `env`, stdin from /dev/null.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         Stream out = Stream::captured, Stream err = Stream::captured);

#endif
