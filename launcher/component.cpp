#include "descriptor.h"
#include "launcher.h"

ComponentHandle componentInstance = nullptr;

bool startComponentInstance(OutputHandler errorHandler, OutputHandler printHandler)
{
    // One instance per process: a later start keeps the handlers it was made with.
    if (componentInstance != nullptr) {
        return true;
    }
    // The core start runs again on every attempt, so a failed registration
    // can be retried without leaving the core half started.
    if (!mclmcrInitialize()) {
        return false;
    }
    const ComponentDescriptor& d = componentDescriptor;
    return mclInitializeComponentInstance(
        &componentInstance, d.componentPublicKeyHex, d.componentName, d.componentExtraText,
        d.componentKeyHex, runtimeTextArray(d.componentSearchPath), d.componentSearchPath.count,
        runtimeTextArray(d.componentClassPath), d.componentClassPath.count,
        runtimeTextArray(d.componentExtraList), d.componentExtraList.count, 1, 0, 0, 0,
        errorHandler, printHandler);
}

bool startComponentInstanceOnConsole()
{
    return startComponentInstance(consoleErrorHandler, consolePrintHandler);
}

void stopComponentInstance()
{
    // The runtime owns the handle; it is left as the runtime leaves it.
    if (componentInstance != nullptr) {
        mclTerminateInstance(&componentInstance);
    }
}
