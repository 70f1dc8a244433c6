// The real executable on the stand-in runtime, driven through the stand-in's
// knobs. The same suite runs against a Windows build under Wine; where
// Windows legitimately differs, the expectation says so.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <unistd.h>

#include "case_name.h"

#include "process_runner.h"
#include "runtime_roads.h"

namespace {

// What to run, from the file named by LAUNCHER_TARGET: lines of key=value
// with the keys launcher, runner (what starts it, for an executable that does
// not run natively), probe (Windows: reports the whole exit code of what it
// starts), platform, and env (one NAME=VALUE the runner needs, per line).
struct Target {
    std::string launcher;
    std::string runner;
    std::string probe;
    bool windows = false;
    std::vector<std::string> env;
};

const Target& target()
{
    static const Target t = [] {
        Target read;
        const char* path = std::getenv("LAUNCHER_TARGET");
        std::ifstream in(path != nullptr ? path : "");
        for (std::string line; std::getline(in, line);) {
            const std::size_t equals = line.find('=');
            const std::string key = line.substr(0, equals);
            const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
            if (key == "launcher") {
                read.launcher = value;
            } else if (key == "runner") {
                read.runner = value;
            } else if (key == "probe") {
                read.probe = value;
            } else if (key == "platform") {
                read.windows = value == "windows";
            } else if (key == "env") {
                read.env.push_back(value);
            }
        }
        return read;
    }();
    return t;
}

// What the C runtime's text mode makes of a line feed on this target's
// standard streams: Windows writes CR LF, the handlers themselves add nothing.
std::string onConsole(const std::string& bytes)
{
    if (!target().windows) {
        return bytes;
    }
    std::string converted;
    for (char c : bytes) {
        if (c == '\n') {
            converted += '\r';
        }
        converted += c;
    }
    return converted;
}

class TempFile {
public:
    TempFile()
    {
        char name[] = "/tmp/launcher-trace-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) {
            close(fd);
        }
        path_ = name;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    std::vector<std::string> lines() const
    {
        std::ifstream in(path_, std::ios::binary);
        std::vector<std::string> result;
        for (std::string line; std::getline(in, line);) {
            result.push_back(line);
        }
        return result;
    }

private:
    std::string path_;
};

struct LaunchResult : ProcessResult {
    long windowsExitCode;  // the whole 32-bit exit code, on Windows only
};

// Runs the launcher with these arguments after argv[0] and only these knobs
// in its environment, besides what the runner itself needs.
LaunchResult launch(const std::vector<std::string>& args, const std::vector<std::string>& knobs,
                    Stream out = Stream::captured, Stream err = Stream::captured)
{
    std::vector<std::string> argv;
    std::vector<std::string> env = knobs;
    TempFile exitCode;
    if (!target().runner.empty()) {
        argv.push_back(target().runner);
    }
    if (!target().probe.empty()) {
        argv.push_back(target().probe);
        env.push_back("EXIT_CODE_PROBE_FILE=" + exitCode.path());
    }
    argv.push_back(target().launcher);
    argv.insert(argv.end(), args.begin(), args.end());

    env.emplace_back("PATH=/usr/local/bin:/usr/bin:/bin");
    env.insert(env.end(), target().env.begin(), target().env.end());
    if (const char* home = std::getenv("HOME")) {
        env.push_back(std::string("HOME=") + home);
    }
    LaunchResult result{runProcess(argv, env, out, err), 0};
    if (!target().probe.empty()) {
        const std::vector<std::string> lines = exitCode.lines();
        result.windowsExitCode = lines.empty() ? -999 : std::stol(lines[0]);
    }
    return result;
}

std::string firstWord(const std::string& line)
{
    return line.substr(0, line.find(' '));
}

std::vector<std::string> functionsCalled(const TempFile& trace)
{
    std::vector<std::string> names;
    for (const std::string& line : trace.lines()) {
        names.push_back(firstWord(line));
    }
    return names;
}

class Process : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(target().launcher.empty()) << "LAUNCHER_TARGET names no launcher";
    }
};

// --- exit status ------------------------------------------------------------

struct StatusCase {
    const char* name;
    std::vector<std::string> knobs;
    int linuxStatus;
    int windowsStatus;
};

const StatusCase statusCases[] = {
    {"Success", {"STANDIN_RUNTIME_STATUS=0"}, 0, 0},
    {"MinusOne", {"STANDIN_RUNTIME_STATUS=-1"}, 255, -1},
    {"Three", {"STANDIN_RUNTIME_STATUS=3"}, 3, 3},
    {"TwoFiftyFive", {"STANDIN_RUNTIME_STATUS=255"}, 255, 255},
    {"TwoFiftySixIsNotSuccess", {"STANDIN_RUNTIME_STATUS=256"}, 1, 256},
    {"MinusTwoFiftySix", {"STANDIN_RUNTIME_STATUS=-256"}, 1, -256},
    {"Largest", {"STANDIN_RUNTIME_STATUS=2147483647"}, 255, 2147483647},
    {"ApplicationStartFails", {"STANDIN_RUNTIME_FAIL=application"}, 0, 0},
    {"CoreStartFails", {"STANDIN_RUNTIME_FAIL=core"}, 255, -1},
    {"RegistrationFails", {"STANDIN_RUNTIME_FAIL=instance"}, 255, -1},
};

class ExitStatus : public Process, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(ExitStatus, IsTheComponentsStatusAsThePlatformShowsIt)
{
    const StatusCase& c = GetParam();
    std::vector<std::string> knobs = c.knobs;
    knobs.emplace_back("STANDIN_RUNTIME_PRINT=");
    const LaunchResult r = launch({"ignored"}, knobs);

    EXPECT_EQ(r.signal, 0);
    if (target().windows) {
        // Windows keeps all 32 bits. Wine hands a Linux parent the low 8 of
        // them, turning a non-zero code with 8 zero bits into 1, just as the
        // Linux build does, so both see the same status.
        EXPECT_EQ(r.windowsExitCode, c.windowsStatus);
    }
    EXPECT_EQ(r.exitStatus, c.linuxStatus);
    // The launcher says nothing of its own on any road.
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(Process, ExitStatus, ::testing::ValuesIn(statusCases), CaseName());

// --- console text -----------------------------------------------------------

struct TextCase {
    const char* name;
    std::vector<std::string> knobs;
    std::string expectedOut;
    std::string expectedErr;
};

const TextCase textCases[] = {
    {"PrintAsItComes", {"STANDIN_RUNTIME_PRINT=abc"}, "abc", ""},
    {"ErrorCompleted", {"STANDIN_RUNTIME_ERROR=abc"}, "", "abc\n"},
    {"ErrorAlreadyEnded", {"STANDIN_RUNTIME_ERROR=abc\n"}, "", "abc\n"},
    {"ErrorAfterCarriageReturn", {"STANDIN_RUNTIME_ERROR=abc\r"}, "", "abc\r\n"},
    {"EmptyTextsWriteNothing", {"STANDIN_RUNTIME_PRINT=", "STANDIN_RUNTIME_ERROR="}, "", ""},
    {"Both",
     {"STANDIN_RUNTIME_PRINT=line one\nline two", "STANDIN_RUNTIME_ERROR=warning: x"},
     "line one\nline two",
     "warning: x\n"},
    {"OddBytes",
     {"STANDIN_RUNTIME_PRINT=\x01\x7F\x1B[1m\t", "STANDIN_RUNTIME_ERROR=\x02\x1B[0m"},
     "\x01\x7F\x1B[1m\t",
     "\x02\x1B[0m\n"},
};

class ConsoleText : public Process, public ::testing::WithParamInterface<TextCase> {};

TEST_P(ConsoleText, ReachesEachStreamByteForByte)
{
    const TextCase& c = GetParam();
    const LaunchResult r = launch({"not echoed"}, c.knobs);

    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out, onConsole(c.expectedOut));
    EXPECT_EQ(r.err, onConsole(c.expectedErr));
}

INSTANTIATE_TEST_SUITE_P(Process, ConsoleText, ::testing::ValuesIn(textCases), CaseName());

TEST_F(Process, HighBytesPassThroughUnchanged)
{
    // The knob's text reaches the component through the environment, which
    // Windows, like its command line, hands over in the ANSI code page.
    const std::string text = "caf\xC3\xA9 \xE2\x82\xAC";
    const std::string received = target().windows ? "caf\xE9 \x80" : text;
    const LaunchResult r =
        launch({}, {"STANDIN_RUNTIME_PRINT=" + text, "STANDIN_RUNTIME_ERROR=" + text});
    EXPECT_EQ(r.out, onConsole(received));
    EXPECT_EQ(r.err, onConsole(received + "\n"));
}

// --- call order -------------------------------------------------------------

struct TraceCase {
    const char* name;
    std::vector<std::string> knobs;
    Calls expected;
};

const TraceCase traceCases[] = {
    {"Success", {}, successfulRun},
    {"FailingMainDoesNotWait", {"STANDIN_RUNTIME_STATUS=3"}, failedRun},
    {"ApplicationStartFails", {"STANDIN_RUNTIME_FAIL=application"}, {"mclInitializeApplication"}},
    {"CoreStartFails",
     {"STANDIN_RUNTIME_FAIL=core"},
     {"mclInitializeApplication", "mclmcrInitialize"}},
    {"RegistrationFails",
     {"STANDIN_RUNTIME_FAIL=instance"},
     {"mclInitializeApplication", "mclmcrInitialize", "mclInitializeComponentInstance"}},
};

class CallOrder : public Process, public ::testing::WithParamInterface<TraceCase> {};

TEST_P(CallOrder, ReachesTheRuntimeInThisOrder)
{
    const TraceCase& c = GetParam();
    TempFile trace;
    std::vector<std::string> knobs = c.knobs;
    knobs.push_back("STANDIN_RUNTIME_TRACE=" + trace.path());
    launch({"a"}, knobs);

    EXPECT_EQ(functionsCalled(trace), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Process, CallOrder, ::testing::ValuesIn(traceCases), CaseName());

TEST_F(Process, TraceShowsWhatEachCallReceived)
{
    TempFile trace;
    launch({"x y"}, {"STANDIN_RUNTIME_TRACE=" + trace.path()});
    const std::vector<std::string> lines = trace.lines();
    ASSERT_EQ(lines.size(), 7U);

    EXPECT_EQ(lines[0], "mclInitializeApplication options=0[]");
    EXPECT_EQ(lines[1], "mclmcrInitialize");
    const std::string& registration = lines[2];
    EXPECT_NE(registration.find(" name=\"zembraTolvique\" extraText=\"\" "), std::string::npos);
    EXPECT_NE(registration.find(" searchPath=35[\"zembraTolvique/\",\"toolbox/compiler/deploy/\","),
              std::string::npos);
    EXPECT_NE(registration.find(",\"toolbox/database/database/\"] "), std::string::npos);
    EXPECT_NE(registration.find(" classPath=1[\"java/jar/toolbox/database.jar\"] extraList=0[] "
                                "flags=1,0,0,0 errorHandler=set printHandler=set"),
              std::string::npos);
    EXPECT_NE(lines[3].find("mclMain instance=set argc=2 argv=2["), std::string::npos);
    EXPECT_NE(lines[3].find(",\"x y\"] function=\"zembratolvique\" flag=0"), std::string::npos);
    EXPECT_EQ(lines[4], "mclWaitForFiguresToDie arg=null");
    EXPECT_EQ(lines[5], "mclTerminateInstance instance=set");
    EXPECT_EQ(lines[6], "mclTerminateApplication");
}

// --- the command line -------------------------------------------------------

std::string echoOf(const std::vector<std::string>& args)
{
    std::string expected = target().launcher + "\n";
    for (const std::string& arg : args) {
        expected += arg + "\n";
    }
    return onConsole(expected);
}

TEST_F(Process, ProgramPathComesFirst)
{
    // On both platforms argv[0] is the program as the caller spelled it (on
    // Windows, the first word of the command line), not a resolved path.
    const LaunchResult r = launch({}, {});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out, echoOf({}));
    EXPECT_EQ(r.err, "");
}

struct ArgumentsCase {
    const char* name;
    std::vector<std::string> args;
    // What the component receives on Windows where that differs. A Windows
    // command line is UTF-16; the C runtime hands the program its arguments
    // in the ANSI code page (1252 under Wine here), so UTF-8 is re-encoded and
    // what has no place there becomes '?'. The launcher passes on the bytes
    // it is given either way.
    std::vector<std::string> onWindows;
};

std::vector<std::string> manyArguments(int count)
{
    std::vector<std::string> args;
    args.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        args.push_back(std::to_string(i));
    }
    return args;
}

const ArgumentsCase argumentCases[] = {
    {"Plain", {"hello", "big world"}, {}},
    {"Empty", {"", "x", "", ""}, {}},
    {"QuotesAndShellCharacters",
     {"\"quoted\"", "'single'", "a\\b", "$HOME", "*", "-", "--x=1", "a b\tc"},
     {}},
    {"ControlBytes", {"\x01\x02", "tab\there", "bell\x07", "del\x7F", "esc\x1B[0m"}, {}},
    {"Utf8", {"caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x99\x82"}, {"caf\xE9", "\x80", "??"}},
    {"BytesThatAreNoText", {"\xFF\xFE", "\x80", "a\xC3(b"}, {"??", "?", "a?(b"}},
    // 5000 short arguments still fit a Windows command line (32767 characters).
    {"ThousandsOfArguments", manyArguments(5000), {}},
};

class CommandLine : public Process, public ::testing::WithParamInterface<ArgumentsCase> {};

TEST_P(CommandLine, ArrivesUnchangedInOrder)
{
    const ArgumentsCase& c = GetParam();
    const LaunchResult r = launch(c.args, {});
    const bool differs = target().windows && !c.onWindows.empty();

    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_TRUE(r.out == echoOf(differs ? c.onWindows : c.args)) << r.out.substr(0, 400);
    EXPECT_EQ(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(Process, CommandLine, ::testing::ValuesIn(argumentCases), CaseName());

TEST_F(Process, AHundredKilobyteArgumentArrivesWhole)
{
    // A Windows command line holds at most 32767 characters in all, so there
    // the largest argument is the most that fits.
    const std::size_t size = target().windows ? 32000 : 100000;
    std::string big(size, 'z');
    for (std::size_t i = 0; i < big.size(); i += 97) {
        big[i] = static_cast<char>('a' + i % 26);
    }
    const LaunchResult r = launch({"before", big, "after"}, {});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_TRUE(r.out == echoOf({"before", big, "after"}));
}

// --- failing streams ----------------------------------------------------------

struct FailingStreamCase {
    const char* name;
    Stream out;
    Stream err;
};

const FailingStreamCase failingStreamCases[] = {
    {"OutputClosed", Stream::closed, Stream::captured},
    {"OutputFull", Stream::full, Stream::captured},
    {"OutputReaderGone", Stream::brokenPipe, Stream::captured},
    {"ErrorClosed", Stream::captured, Stream::closed},
    {"ErrorFull", Stream::captured, Stream::full},
    {"ErrorReaderGone", Stream::captured, Stream::brokenPipe},
    {"BothReadersGone", Stream::brokenPipe, Stream::brokenPipe},
};

class FailingStream : public Process, public ::testing::WithParamInterface<FailingStreamCase> {};

TEST_P(FailingStream, LosesOnlyThatStreamAndStillShutsDownInOrder)
{
    const FailingStreamCase& c = GetParam();
    // Larger than any stream buffer, so the failure meets the handler's own
    // write and not only the flush at exit.
    const std::string printed(100000, 'p');
    const std::string errorText = "the component's error";
    for (int status : {0, 3}) {
        SCOPED_TRACE("component status " + std::to_string(status));
        TempFile trace;
        const LaunchResult r = launch(
            {},
            {"STANDIN_RUNTIME_STATUS=" + std::to_string(status), "STANDIN_RUNTIME_PRINT=" + printed,
             "STANDIN_RUNTIME_ERROR=" + errorText, "STANDIN_RUNTIME_TRACE=" + trace.path()},
            c.out, c.err);

        EXPECT_EQ(r.signal, 0);
        EXPECT_EQ(r.exitStatus, status);
        EXPECT_EQ(functionsCalled(trace), status == 0 ? successfulRun : failedRun);
        // The stream that still works gets its text whole.
        if (c.out == Stream::captured) {
            EXPECT_TRUE(r.out == onConsole(printed)) << r.out.size() << " bytes";
        }
        if (c.err == Stream::captured) {
            EXPECT_EQ(r.err, onConsole(errorText + "\n"));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Process, FailingStream, ::testing::ValuesIn(failingStreamCases),
                         CaseName());

}  // namespace
