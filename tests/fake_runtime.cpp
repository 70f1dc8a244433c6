#include "fake_runtime.h"

FakeRuntime fakeRuntime;

struct ComponentInstanceState {
    int unused;
};

namespace {
ComponentInstanceState fakeInstance{0};
}

ComponentHandle fakeInstanceHandle()
{
    return &fakeInstance;
}

extern "C" {

bool mclInitializeApplication(const char** options, int32_t optionCount)
{
    fakeRuntime.calls.emplace_back("mclInitializeApplication");
    fakeRuntime.applicationOptions = options;
    fakeRuntime.applicationOptionCount = optionCount;
    return fakeRuntime.applicationStarts;
}

bool mclmcrInitialize(void)
{
    fakeRuntime.calls.emplace_back("mclmcrInitialize");
    return fakeRuntime.coreStarts;
}

bool mclInitializeComponentInstance(ComponentHandle* instance, const char* publicKeyHex,
                                    const char* componentName, const char* extraText,
                                    const char* keyHex, const char** searchPath,
                                    int32_t searchPathCount, const char** classPath,
                                    int32_t classPathCount, const char** extraList,
                                    int32_t extraListCount, int32_t instanceFlag, int32_t reserved1,
                                    int32_t reserved2, int32_t reserved3,
                                    OutputHandler errorHandler, OutputHandler printHandler)
{
    fakeRuntime.calls.emplace_back("mclInitializeComponentInstance");
    fakeRuntime.registrations.push_back(
        RegistrationCall{instance,
                         publicKeyHex,
                         componentName,
                         extraText,
                         keyHex,
                         searchPath,
                         searchPathCount,
                         classPath,
                         classPathCount,
                         extraList,
                         extraListCount,
                         {instanceFlag, reserved1, reserved2, reserved3},
                         errorHandler,
                         printHandler});
    if (!fakeRuntime.instanceStarts) {
        return false;
    }
    *instance = fakeInstanceHandle();
    return true;
}

int32_t mclMain(ComponentHandle instance, int32_t argc, const char** argv,
                const char* mainFunctionName, int32_t runFlag)
{
    fakeRuntime.calls.emplace_back("mclMain");
    fakeRuntime.mains.push_back(MainCall{instance, argc, argv, mainFunctionName, runFlag});
    return fakeRuntime.mainStatus;
}

bool mclWaitForFiguresToDie(void* unused)
{
    fakeRuntime.calls.emplace_back("mclWaitForFiguresToDie");
    fakeRuntime.waitArguments.push_back(unused);
    return true;
}

bool mclTerminateInstance(ComponentHandle* instance)
{
    fakeRuntime.calls.emplace_back("mclTerminateInstance");
    fakeRuntime.terminatedInstances.push_back(instance);
    return true;
}

bool mclTerminateApplication(void)
{
    fakeRuntime.calls.emplace_back("mclTerminateApplication");
    return true;
}

}  // extern "C"
