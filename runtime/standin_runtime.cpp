// A small runtime that stands in for the closed one where it is not
// installed. It offers the same seven functions, checks a registration the
// way a runtime would, and runs a component that echoes its arguments.
// Knobs, read from the environment here and nowhere else:
//   STANDIN_RUNTIME_FAIL=application|core|instance  that start returns false, silently
//   STANDIN_RUNTIME_STATUS=<int32>                  what the main function returns
//   STANDIN_RUNTIME_PRINT=<text>, STANDIN_RUNTIME_ERROR=<text>
//                                                   printed in place of the echo
//   STANDIN_RUNTIME_TRACE=<file>                    one appended line per call
#include <cerrno>
#include <cstdarg>
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

// Texts are quoted with every byte outside printable ASCII escaped, so one
// call is always one line whatever the component was given.
void traceText(const char* text)
{
    if (text == nullptr) {
        std::fputs("null", traceFile);
        return;
    }
    std::fputc('"', traceFile);
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p == '"' || *p == '\\') {
            std::fprintf(traceFile, "\\%c", *p);
        } else if (*p >= 0x20 && *p < 0x7F) {
            std::fputc(*p, traceFile);
        } else {
            std::fprintf(traceFile, "\\x%02X", *p);
        }
    }
    std::fputc('"', traceFile);
}

void traceList(const char* name, const char** texts, int32_t count)
{
    std::fprintf(traceFile, " %s=%d[", name, static_cast<int>(count));
    if (texts == nullptr) {
        std::fputs("null", traceFile);
    } else {
        for (int32_t i = 0; i < count; ++i) {
            if (i > 0) {
                std::fputc(',', traceFile);
            }
            traceText(texts[i]);
        }
    }
    std::fputc(']', traceFile);
}

// Opened at the first call and kept open, as a runtime keeps its log.
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
    std::fputs(function, traceFile);
    return true;
}

void traceField(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(traceFile, format, args);
    va_end(args);
}

// Each line is on disk before the call goes on, whatever happens next.
void traceEnd()
{
    std::fputc('\n', traceFile);
    std::fflush(traceFile);
}

const char* isSet(const void* pointer)
{
    return pointer == nullptr ? "null" : "set";
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
                              const char* componentName, const char* extraText,
                              const char* keyHex, const char** searchPath,
                              int32_t searchPathCount, const char** classPath,
                              int32_t classPathCount, const char** extraList,
                              int32_t extraListCount, OutputHandler printHandler)
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

void report(const char* prefix, const char* detail)
{
    if (theInstance.errorHandler == nullptr) {
        return;
    }
    char line[256];
    std::snprintf(line, sizeof line, "stand-in runtime: %s%s", prefix, detail);
    theInstance.errorHandler(line);
}

bool parseStatus(const char* text, int32_t* status)
{
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < INT32_MIN || value > INT32_MAX) {
        return false;
    }
    *status = static_cast<int32_t>(value);
    return true;
}

void echoArguments(int32_t argc, const char** argv)
{
    for (int32_t i = 0; i < argc; ++i) {
        const std::size_t length = std::strlen(argv[i]);
        char* line = static_cast<char*>(std::malloc(length + 2));
        if (line == nullptr) {
            report("out of memory for argument ", "");
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
    const char** classPath, int32_t classPathCount, const char** extraList,
    int32_t extraListCount, int32_t instanceFlag, int32_t reserved1, int32_t reserved2,
    int32_t reserved3, OutputHandler errorHandler, OutputHandler printHandler)
{
    if (traceBegin("mclInitializeComponentInstance")) {
        traceField(" instance=%s publicKey=", isSet(instance));
        traceText(publicKeyHex);
        traceField(" name=");
        traceText(componentName);
        traceField(" extraText=");
        traceText(extraText);
        traceField(" key=");
        traceText(keyHex);
        traceList("searchPath", searchPath, searchPathCount);
        traceList("classPath", classPath, classPathCount);
        traceList("extraList", extraList, extraListCount);
        traceField(" flags=%d,%d,%d,%d errorHandler=%s printHandler=%s",
                   static_cast<int>(instanceFlag), static_cast<int>(reserved1),
                   static_cast<int>(reserved2), static_cast<int>(reserved3),
                   isSet(reinterpret_cast<void*>(errorHandler)),
                   isSet(reinterpret_cast<void*>(printHandler)));
        traceEnd();
    }
    if (failureRequested("instance")) {
        return false;
    }
    const char* fault = registrationFault(instance, publicKeyHex, componentName, extraText,
                                          keyHex, searchPath, searchPathCount, classPath,
                                          classPathCount, extraList, extraListCount,
                                          printHandler);
    if (fault != nullptr) {
        if (errorHandler != nullptr) {
            char line[256];
            std::snprintf(line, sizeof line, "stand-in runtime: refused registration: %s",
                          fault);
            errorHandler(line);
        }
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
        traceField(" instance=%s argc=%d", isSet(instance), static_cast<int>(argc));
        traceList("argv", argv, argc);
        traceField(" function=");
        traceText(mainFunctionName);
        traceField(" flag=%d", static_cast<int>(runFlag));
        traceEnd();
    }
    if (instance != &theInstance || !theInstance.running) {
        return -1;
    }
    if (!isTextList(argv, argc)) {
        report("the main function was given no argument vector", "");
        return -1;
    }

    int32_t status = 0;
    const char* statusText = std::getenv("STANDIN_RUNTIME_STATUS");
    if (statusText != nullptr && !parseStatus(statusText, &status)) {
        report("STANDIN_RUNTIME_STATUS is not a 32-bit integer: ", statusText);
        return 1;
    }

    const char* printText = std::getenv("STANDIN_RUNTIME_PRINT");
    const char* errorText = std::getenv("STANDIN_RUNTIME_ERROR");
    if (printText == nullptr && errorText == nullptr) {
        echoArguments(argc, argv);
    } else {
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
        traceField(" arg=%s", isSet(unused));
        traceEnd();
    }
    // The stand-in draws no windows, so there is never one to wait for.
    return true;
}

STANDIN_API bool mclTerminateInstance(ComponentHandle* instance)
{
    if (traceBegin("mclTerminateInstance")) {
        traceField(" instance=%s", isSet(instance == nullptr ? nullptr : *instance));
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
