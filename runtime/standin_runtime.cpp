// A small runtime that stands in for the closed one where it is not
// installed. It offers the same seven functions, checks a registration the
// way a runtime would, and runs a component that echoes its arguments.
// Knobs, read from the environment here and nowhere else:
//   STANDIN_RUNTIME_FAIL=application|core|instance  that start returns false, silently
//   STANDIN_RUNTIME_STATUS=<int32>                  what the main function returns
//   STANDIN_RUNTIME_PRINT=<text>, STANDIN_RUNTIME_ERROR=<text>
//                                                   printed in place of the echo
//   STANDIN_RUNTIME_REPEAT=<count>                  how often those are printed
//   STANDIN_RUNTIME_TRACE=<file>                    one appended line per call
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "component_runtime.h"

#ifdef _WIN32
#define STANDIN_API extern "C" __declspec(dllexport)
#else
#define STANDIN_API extern "C" __attribute__((visibility("default")))
#endif

struct ComponentInstanceState {
    OutputHandler errorHandler;
    OutputHandler printHandler;
    bool running;
};

namespace {

constexpr int32_t maxListCount = 4096;

bool applicationStarted = false;
bool coreStarted = false;
ComponentInstanceState theInstance = {nullptr, nullptr, false};

bool failureRequested(const char* stage)
{
    const char* value = std::getenv("STANDIN_RUNTIME_FAIL");
    return value != nullptr && std::strcmp(value, stage) == 0;
}

// --- trace -----------------------------------------------------------------

std::FILE* traceFile = nullptr;

// The line being traced, built in memory and written whole.
char* traceLine = nullptr;
std::size_t traceSize = 0;
std::size_t traceCapacity = 0;
bool traceOverflow = false;

void trace(const char* bytes, std::size_t count)
{
    if (traceSize + count > traceCapacity) {
        const std::size_t wanted = (traceSize + count) * 2;
        char* grown = static_cast<char*>(std::realloc(traceLine, wanted));
        if (grown == nullptr) {
            traceOverflow = true;
            return;
        }
        traceLine = grown;
        traceCapacity = wanted;
    }
    std::memcpy(traceLine + traceSize, bytes, count);
    traceSize += count;
}

void trace(const char* text)
{
    trace(text, std::strlen(text));
}

void traceNumber(long long value)
{
    char digits[24];
    const int length = std::snprintf(digits, sizeof digits, "%lld", value);
    if (length > 0) {
        trace(digits, static_cast<std::size_t>(length));
    }
}

// Texts are quoted with every byte outside printable ASCII escaped, so one
// call is always one line whatever the component was given.
void traceText(const char* text)
{
    if (text == nullptr) {
        trace("null");
        return;
    }
    static const char hex[] = "0123456789ABCDEF";
    trace("\"");
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p == '"' || *p == '\\') {
            const char escaped[] = {'\\', static_cast<char>(*p)};
            trace(escaped, sizeof escaped);
        } else if (*p >= 0x20 && *p < 0x7F) {
            trace(reinterpret_cast<const char*>(p), 1);
        } else {
            const char escaped[] = {'\\', 'x', hex[*p >> 4U], hex[*p & 0xFU]};
            trace(escaped, sizeof escaped);
        }
    }
    trace("\"");
}

void traceList(const char* name, const char** texts, int32_t count)
{
    trace(" ");
    trace(name);
    trace("=");
    traceNumber(count);
    trace("[");
    if (texts == nullptr) {
        trace("null");
    } else {
        for (int32_t i = 0; i < count; ++i) {
            if (i > 0) {
                trace(",");
            }
            traceText(texts[i]);
        }
    }
    trace("]");
}

// The file is opened at the first call and kept open, as a runtime keeps its log.
bool traceBegin(const char* function)
{
    if (traceFile == nullptr) {
        const char* path = std::getenv("STANDIN_RUNTIME_TRACE");
        if (path == nullptr || *path == '\0') {
            return false;
        }
        traceFile = std::fopen(path, "ab");
        if (traceFile == nullptr) {
            return false;
        }
    }
    traceSize = 0;
    traceOverflow = false;
    trace(function);
    return true;
}

// Each line is on disk before the call goes on, whatever happens next. A
// line that could not be built is left out; one that cannot be written is lost.
void traceEnd()
{
    trace("\n");
    if (!traceOverflow && std::fwrite(traceLine, 1, traceSize, traceFile) == traceSize) {
        (void)std::fflush(traceFile);
    }
}

// Pointers are traced only as there or not: their values differ from run to run.
void tracePointer(const char* label, const void* pointer)
{
    trace(label);
    trace(pointer == nullptr ? "null" : "set");
}

// --- registration checks ----------------------------------------------------

bool isUpperHex(const char* text, std::size_t digits)
{
    if (text == nullptr || std::strlen(text) != digits) {
        return false;
    }
    for (std::size_t i = 0; i < digits; ++i) {
        const char c = text[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}

bool isTextList(const char** texts, int32_t count)
{
    if (texts == nullptr || count < 0) {
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (texts[i] == nullptr) {
            return false;
        }
    }
    return true;
}

// Returns why the registration is refused, or null when it is sound.
const char* registrationFault(ComponentHandle* instance, const char* publicKeyHex,
                              const char* componentName, const char* extraText, const char* keyHex,
                              const char** searchPath, int32_t searchPathCount,
                              const char** classPath, int32_t classPathCount,
                              const char** extraList, int32_t extraListCount,
                              OutputHandler printHandler)
{
    if (!applicationStarted || !coreStarted) {
        return "the runtime was not started";
    }
    if (instance == nullptr) {
        return "no place for the instance handle";
    }
    if (!isUpperHex(publicKeyHex, 320)) {
        return "the public key is not 320 upper-case hex digits";
    }
    if (componentName == nullptr || *componentName == '\0') {
        return "the component has no name";
    }
    if (extraText == nullptr) {
        return "the extra text is null";
    }
    if (!isUpperHex(keyHex, 256)) {
        return "the key is not 256 upper-case hex digits";
    }
    if (searchPathCount == 0 || searchPathCount > maxListCount ||
        !isTextList(searchPath, searchPathCount)) {
        return "the search path is not a list of folders";
    }
    if (classPathCount > maxListCount || !isTextList(classPath, classPathCount)) {
        return "the class path is not a list of texts";
    }
    if (extraListCount > maxListCount || !isTextList(extraList, extraListCount)) {
        return "the extra list is not a list of texts";
    }
    if (printHandler == nullptr) {
        return "no print handler";
    }
    return nullptr;
}

// --- the component ----------------------------------------------------------

// Says what went wrong in one line through the component's error handler; a
// detail too long for the line is cut short.
void report(OutputHandler errorHandler, const char* prefix, const char* detail)
{
    char line[256];
    if (errorHandler != nullptr &&
        std::snprintf(line, sizeof line, "stand-in runtime: %s%s", prefix, detail) >= 0) {
        errorHandler(line);
    }
}

// Reads a knob holding a 32-bit integer of at least `minimum`. An unset knob
// leaves `value` as it is; a malformed one is reported and fails.
bool integerKnob(const char* name, int32_t minimum, int32_t* value)
{
    const char* text = std::getenv(name);
    if (text == nullptr) {
        return true;
    }
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < minimum || parsed > INT32_MAX) {
        char what[96];
        if (std::snprintf(what, sizeof what, "%s is not an integer from %d to %d: ", name,
                          static_cast<int>(minimum), static_cast<int>(INT32_MAX)) > 0) {
            report(theInstance.errorHandler, what, text);
        }
        return false;
    }
    *value = static_cast<int32_t>(parsed);
    return true;
}

void echoArguments(int32_t argc, const char** argv)
{
    for (int32_t i = 0; i < argc; ++i) {
        const std::size_t length = std::strlen(argv[i]);
        char* line = static_cast<char*>(std::malloc(length + 2));
        if (line == nullptr) {
            report(theInstance.errorHandler, "out of memory for argument ", "");
            return;
        }
        std::memcpy(line, argv[i], length);
        line[length] = '\n';
        line[length + 1] = '\0';
        theInstance.printHandler(line);
        std::free(line);
    }
}

}  // namespace

STANDIN_API bool mclInitializeApplication(const char** options, int32_t optionCount)
{
    if (traceBegin("mclInitializeApplication")) {
        traceList("options", options, optionCount);
        traceEnd();
    }
    if (failureRequested("application") || !isTextList(options, optionCount)) {
        return false;
    }
    applicationStarted = true;
    return true;
}

STANDIN_API bool mclmcrInitialize(void)
{
    if (traceBegin("mclmcrInitialize")) {
        traceEnd();
    }
    if (failureRequested("core") || !applicationStarted) {
        return false;
    }
    coreStarted = true;
    return true;
}

STANDIN_API bool mclInitializeComponentInstance(
    ComponentHandle* instance, const char* publicKeyHex, const char* componentName,
    const char* extraText, const char* keyHex, const char** searchPath, int32_t searchPathCount,
    const char** classPath, int32_t classPathCount, const char** extraList, int32_t extraListCount,
    int32_t instanceFlag, int32_t reserved1, int32_t reserved2, int32_t reserved3,
    OutputHandler errorHandler, OutputHandler printHandler)
{
    if (traceBegin("mclInitializeComponentInstance")) {
        tracePointer(" instance=", instance);
        trace(" publicKey=");
        traceText(publicKeyHex);
        trace(" name=");
        traceText(componentName);
        trace(" extraText=");
        traceText(extraText);
        trace(" key=");
        traceText(keyHex);
        traceList("searchPath", searchPath, searchPathCount);
        traceList("classPath", classPath, classPathCount);
        traceList("extraList", extraList, extraListCount);
        const int32_t flags[] = {instanceFlag, reserved1, reserved2, reserved3};
        trace(" flags=");
        for (std::size_t i = 0; i < sizeof flags / sizeof flags[0]; ++i) {
            trace(i > 0 ? "," : "");
            traceNumber(flags[i]);
        }
        tracePointer(" errorHandler=", reinterpret_cast<void*>(errorHandler));
        tracePointer(" printHandler=", reinterpret_cast<void*>(printHandler));
        traceEnd();
    }
    if (failureRequested("instance")) {
        return false;
    }
    const char* fault = registrationFault(instance, publicKeyHex, componentName, extraText, keyHex,
                                          searchPath, searchPathCount, classPath, classPathCount,
                                          extraList, extraListCount, printHandler);
    if (fault != nullptr) {
        report(errorHandler, "refused registration: ", fault);
        return false;
    }
    theInstance = ComponentInstanceState{errorHandler, printHandler, true};
    *instance = &theInstance;
    return true;
}

STANDIN_API int32_t mclMain(ComponentHandle instance, int32_t argc, const char** argv,
                            const char* mainFunctionName, int32_t runFlag)
{
    if (traceBegin("mclMain")) {
        tracePointer(" instance=", instance);
        trace(" argc=");
        traceNumber(argc);
        traceList("argv", argv, argc);
        trace(" function=");
        traceText(mainFunctionName);
        trace(" flag=");
        traceNumber(runFlag);
        traceEnd();
    }
    if (instance != &theInstance || !theInstance.running) {
        return -1;
    }
    if (!isTextList(argv, argc)) {
        report(theInstance.errorHandler, "the main function was given no argument vector", "");
        return -1;
    }

    int32_t status = 0;
    int32_t repeat = 1;
    if (!integerKnob("STANDIN_RUNTIME_STATUS", INT32_MIN, &status) ||
        !integerKnob("STANDIN_RUNTIME_REPEAT", 0, &repeat)) {
        return 1;
    }

    const char* printText = std::getenv("STANDIN_RUNTIME_PRINT");
    const char* errorText = std::getenv("STANDIN_RUNTIME_ERROR");
    if (printText == nullptr && errorText == nullptr) {
        echoArguments(argc, argv);
        return status;
    }
    for (int32_t i = 0; i < repeat; ++i) {
        if (printText != nullptr) {
            theInstance.printHandler(printText);
        }
        if (errorText != nullptr && theInstance.errorHandler != nullptr) {
            theInstance.errorHandler(errorText);
        }
    }
    return status;
}

STANDIN_API bool mclWaitForFiguresToDie(void* unused)
{
    if (traceBegin("mclWaitForFiguresToDie")) {
        tracePointer(" arg=", unused);
        traceEnd();
    }
    // The stand-in draws no windows, so there is never one to wait for.
    return true;
}

STANDIN_API bool mclTerminateInstance(ComponentHandle* instance)
{
    if (traceBegin("mclTerminateInstance")) {
        tracePointer(" instance=", instance == nullptr ? nullptr : *instance);
        traceEnd();
    }
    if (instance == nullptr || *instance != &theInstance || !theInstance.running) {
        return false;
    }
    theInstance.running = false;
    return true;
}

STANDIN_API bool mclTerminateApplication(void)
{
    if (traceBegin("mclTerminateApplication")) {
        traceEnd();
    }
    const bool wasStarted = applicationStarted;
    applicationStarted = false;
    coreStarted = false;
    return wasStarted;
}
