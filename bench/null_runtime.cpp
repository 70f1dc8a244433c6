// A runtime that does nothing: each of the seven functions succeeds at once.
// Linked under the launcher, it leaves only the launcher's own cost to measure.
#include "component_runtime.h"

#define NULL_RUNTIME_API extern "C" __attribute__((visibility("default")))

struct ComponentInstanceState {
    int unused;
};

namespace {
ComponentInstanceState theInstance{0};
}

NULL_RUNTIME_API bool mclInitializeApplication(const char** /*options*/, int32_t /*count*/)
{
    return true;
}

NULL_RUNTIME_API bool mclmcrInitialize(void)
{
    return true;
}

// Success means a handle was written, so the launcher's stop is measured too.
NULL_RUNTIME_API bool mclInitializeComponentInstance(
    ComponentHandle* instance, const char* /*publicKeyHex*/, const char* /*componentName*/,
    const char* /*extraText*/, const char* /*keyHex*/, const char** /*searchPath*/,
    int32_t /*searchPathCount*/, const char** /*classPath*/, int32_t /*classPathCount*/,
    const char** /*extraList*/, int32_t /*extraListCount*/, int32_t /*instanceFlag*/,
    int32_t /*reserved1*/, int32_t /*reserved2*/, int32_t /*reserved3*/,
    OutputHandler /*errorHandler*/, OutputHandler /*printHandler*/)
{
    *instance = &theInstance;
    return true;
}

NULL_RUNTIME_API int32_t mclMain(ComponentHandle /*instance*/, int32_t /*argc*/,
                                 const char** /*argv*/, const char* /*mainFunctionName*/,
                                 int32_t /*runFlag*/)
{
    return 0;
}

NULL_RUNTIME_API bool mclWaitForFiguresToDie(void* /*unused*/)
{
    return true;
}

NULL_RUNTIME_API bool mclTerminateInstance(ComponentHandle* /*instance*/)
{
    return true;
}

NULL_RUNTIME_API bool mclTerminateApplication(void)
{
    return true;
}
