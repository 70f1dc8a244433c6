// Starts the command line that follows its own name, untouched, waits for it,
// and writes the whole 32-bit exit code to the file named by
// EXIT_CODE_PROBE_FILE. A POSIX parent sees only 8 bits of a Windows exit
// code; this lets the tests see all of them.
#include <cstdio>
#include <windows.h>

namespace {

// Skips the first token of a command line the way the C runtime splits it:
// whitespace ends it unless inside quotes.
const wchar_t* afterFirstToken(const wchar_t* line)
{
    bool quoted = false;
    for (; *line != L'\0'; ++line) {
        if (*line == L'"') {
            quoted = !quoted;
        } else if (!quoted && (*line == L' ' || *line == L'\t')) {
            break;
        }
    }
    while (*line == L' ' || *line == L'\t') {
        ++line;
    }
    return line;
}

}  // namespace

int main()
{
    static wchar_t command[32768];
    lstrcpynW(command, afterFirstToken(GetCommandLineW()), 32768);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "exit_code_probe: cannot start the command (%lu)\n", GetLastError());
        return 125;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);

    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("EXIT_CODE_PROBE_FILE", path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        if (std::FILE* file = std::fopen(path, "w")) {
            std::fprintf(file, "%ld\n", static_cast<long>(static_cast<LONG>(code)));
            std::fclose(file);
        }
    }
    return static_cast<int>(code);
}
