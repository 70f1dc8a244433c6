// The console handlers against a plain fwrite of the same bytes to the same
// stream. Both streams point at /dev/null while the benchmarks run; results
// go to the descriptor standard output had when the program started.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include "launcher.h"

namespace {

// Writes one text, sized and ended as the benchmark's arguments say, over and
// over with `write`, and reports the bytes it passed per second.
template <class Write>
void measure(benchmark::State& state, Write write)
{
    std::string text(static_cast<std::size_t>(state.range(0)), 'x');
    if (state.range(1) != 0) {
        text.back() = '\n';
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(write(text.c_str(), text.size()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void fwriteToStdout(benchmark::State& state)
{
    measure(state,
            [](const char* text, std::size_t size) { return std::fwrite(text, 1, size, stdout); });
}

// What any writer of a C text pays: the length scan, then the write.
void fwriteWithLengthScan(benchmark::State& state)
{
    measure(state, [](const char* text, std::size_t /*size*/) {
        return std::fwrite(text, 1, std::strlen(text), stdout);
    });
}

void printHandler(benchmark::State& state)
{
    measure(state,
            [](const char* text, std::size_t /*size*/) { return consolePrintHandler(text); });
}

void fwriteToStderr(benchmark::State& state)
{
    measure(state,
            [](const char* text, std::size_t size) { return std::fwrite(text, 1, size, stderr); });
}

void errorHandler(benchmark::State& state)
{
    measure(state,
            [](const char* text, std::size_t /*size*/) { return consoleErrorHandler(text); });
}

// Arguments: text size, and whether it ends in a line feed.
BENCHMARK(fwriteToStdout)->Args({80, 1})->Args({65536, 1});
BENCHMARK(fwriteWithLengthScan)->Args({80, 1})->Args({65536, 1});
BENCHMARK(printHandler)->Args({80, 1})->Args({65536, 1});
BENCHMARK(fwriteToStderr)->Args({80, 1})->Args({80, 0})->Args({65536, 1})->Args({65536, 0});
BENCHMARK(errorHandler)->Args({80, 1})->Args({80, 0})->Args({65536, 1})->Args({65536, 0});

// Keeps the median of every benchmark's repetitions, by name.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") {
                medians[run.run_name.str()] = run.counters.at("bytes_per_second").value;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

}  // namespace

int main(int argc, char** argv)
{
    const int results = dup(STDOUT_FILENO);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    dup2(devNull, STDERR_FILENO);
    close(devNull);
    std::ofstream out("/dev/fd/" + std::to_string(results));

    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    reporter.SetOutputStream(&out);
    reporter.SetErrorStream(&out);
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const struct {
        const char* what;
        const char* handler;
        const char* baseline;
        const char* target;
    } comparisons[] = {
        {"print handler,  80 B line", "printHandler/80/1", "fwriteToStdout/80/1", ">= 0.97"},
        {"print handler,  64 KiB", "printHandler/65536/1", "fwriteToStdout/65536/1", ">= 0.97"},
        {"print handler vs strlen+fwrite, 80 B", "printHandler/80/1", "fwriteWithLengthScan/80/1",
         "none"},
        {"print handler vs strlen+fwrite, 64 KiB", "printHandler/65536/1",
         "fwriteWithLengthScan/65536/1", "none"},
        {"error handler,  80 B, ends in LF", "errorHandler/80/1", "fwriteToStderr/80/1", "none"},
        {"error handler,  80 B, lacks LF", "errorHandler/80/0", "fwriteToStderr/80/0", "none"},
        {"error handler,  64 KiB, ends in LF", "errorHandler/65536/1", "fwriteToStderr/65536/1",
         "none"},
        {"error handler,  64 KiB, lacks LF", "errorHandler/65536/0", "fwriteToStderr/65536/0",
         "none"},
    };
    out << "\nconsole throughput: handler vs fwrite of the same text to the same stream "
           "(/dev/null), medians\n";
    char line[200];
    for (const auto& c : comparisons) {
        const double handler = reporter.medians[c.handler];
        const double baseline = reporter.medians[c.baseline];
        if (std::snprintf(line, sizeof line,
                          "%-40s %9.1f MB/s vs %9.1f MB/s  ratio %.3f  target %s\n", c.what,
                          handler / 1e6, baseline / 1e6, baseline > 0 ? handler / baseline : 0.0,
                          c.target) > 0) {
            out << line;
        }
    }
    return 0;
}
