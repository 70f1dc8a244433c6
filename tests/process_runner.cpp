#include "process_runner.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::vector<char*> pointersTo(const std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    pointers.reserve(texts.size() + 1);
    for (const std::string& text : texts) {
        pointers.push_back(const_cast<char*>(text.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Reads both pipes together, so a child that fills one while we wait on the
// other cannot stall. A descriptor of -1 is not read.
void drain(int outFd, int errFd, std::string& out, std::string& err)
{
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&out, &err};
    int open = (outFd >= 0 ? 1 : 0) + (errFd >= 0 ? 1 : 0);
    char buffer[65536];
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::abort();
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

// Connects the child's descriptor `target` as `how` asks; returns the
// parent's reading end for a captured stream, else -1. `parentCopies`
// collects what the parent must close once the child has started.
int connect(posix_spawn_file_actions_t& actions, int target, Stream how,
            std::vector<int>& parentCopies)
{
    int ends[2] = {-1, -1};
    switch (how) {
    case Stream::closed:
        posix_spawn_file_actions_addclose(&actions, target);
        return -1;
    case Stream::full:
        posix_spawn_file_actions_addopen(&actions, target, "/dev/full", O_WRONLY, 0);
        return -1;
    case Stream::brokenPipe:
        if (pipe2(ends, O_CLOEXEC) != 0) {
            std::abort();
        }
        close(ends[0]);
        posix_spawn_file_actions_adddup2(&actions, ends[1], target);
        parentCopies.push_back(ends[1]);
        return -1;
    case Stream::captured:
        break;
    }
    if (pipe2(ends, O_CLOEXEC) != 0) {
        std::abort();
    }
    posix_spawn_file_actions_adddup2(&actions, ends[1], target);
    parentCopies.push_back(ends[1]);
    return ends[0];
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                         Stream out, Stream err)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<int> parentCopies;
    int outRead = connect(actions, STDOUT_FILENO, out, parentCopies);
    int errRead = connect(actions, STDERR_FILENO, err, parentCopies);

    std::vector<char*> args = pointersTo(argv);
    std::vector<char*> environment = pointersTo(env);
    pid_t pid = 0;
    const int spawned =
        posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    for (int fd : parentCopies) {
        close(fd);
    }

    ProcessResult result{-1, 0, {}, {}};
    if (spawned != 0) {
        for (int fd : {outRead, errRead}) {
            if (fd >= 0) {
                close(fd);
            }
        }
        result.err = std::string("spawn failed: ") + std::strerror(spawned);
        return result;
    }
    drain(outRead, errRead, result.out, result.err);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}
