// Runs two commands alternately, many times each, and reports for each the
// median CPU time (user + system), the median wall time and the median peak
// resident memory of its processes, with the ratio of the second to the first.
// Alternating keeps a slow moment of a shared machine from landing on one side.
// Usage: process_timer RUNS BASELINE [ARGS...] -- CANDIDATE [ARGS...]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Sample {
    double cpuMicroseconds;
    double wallMicroseconds;
    double peakKibibytes;
};

double microseconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_usec);
}

bool runOnce(const std::vector<char*>& argv, Sample& sample)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return false;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        return false;
    }
    const auto end = std::chrono::steady_clock::now();
    sample.cpuMicroseconds = microseconds(usage.ru_utime) + microseconds(usage.ru_stime);
    sample.wallMicroseconds = std::chrono::duration<double, std::micro>(end - start).count();
    sample.peakKibibytes = static_cast<double>(usage.ru_maxrss);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Says why the tool stops, and gives its exit status.
int stop(int status, const char* message, const char* detail)
{
    (void)std::fprintf(stderr, "process_timer: %s%s\n", message, detail);  // stopping either way
    return status;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const long runs = argc < 5 ? 0 : std::strtol(argv[1], nullptr, 10);
    if (runs <= 0) {
        return stop(2, "usage: process_timer RUNS BASELINE [ARGS...] -- CANDIDATE [ARGS...]", "");
    }
    std::vector<char*> commands[2];
    int side = 0;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0 && side == 0) {
            side = 1;
        } else {
            commands[side].push_back(argv[i]);
        }
    }
    for (auto& command : commands) {
        command.push_back(nullptr);
    }

    std::vector<double> cpu[2];
    std::vector<double> wall[2];
    std::vector<double> peak[2];
    const int warmup = 10;
    for (long run = 0; run < runs + warmup; ++run) {
        for (int which = 0; which < 2; ++which) {
            Sample sample{};
            if (!runOnce(commands[which], sample)) {
                return stop(1, "a command failed: ", commands[which][0]);
            }
            if (run >= warmup) {
                cpu[which].push_back(sample.cpuMicroseconds);
                wall[which].push_back(sample.wallMicroseconds);
                peak[which].push_back(sample.peakKibibytes);
            }
        }
    }

    const struct {
        const char* name;
        const char* unit;
        std::vector<double>* values;
    } measures[] = {
        {"cpu time (median)", "us", cpu},
        {"wall time (median)", "us", wall},
        {"peak memory (median)", "KiB", peak},
    };
    for (const auto& m : measures) {
        const double baseline = median(m.values[0]);
        const double candidate = median(m.values[1]);
        std::printf("%-22s %10.1f %-4s vs %10.1f %-4s ratio %.3f  difference %+.1f %s\n", m.name,
                    candidate, m.unit, baseline, m.unit, candidate / baseline, candidate - baseline,
                    m.unit);
    }
    return 0;
}
