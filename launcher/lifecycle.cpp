#include "descriptor.h"
#include "launcher.h"

int runLauncher(int argc, const char** argv)
{
    const ComponentDescriptor& d = componentDescriptor;
    prepareProcess();

    // A runtime that never started has nothing to end.
    if (!mclInitializeApplication(runtimeTextArray(d.applicationOptions),
                                  d.applicationOptions.count)) {
        return 0;
    }
    if (!startComponentInstanceOnConsole()) {
        return -1;
    }

    const int status = mclMain(componentInstance, argc, argv, d.mainFunctionName, 0);

    // Only a successful run keeps the process alive for its figure windows;
    // after a failure the windows must not hold the process.
    if (status == 0) {
        mclWaitForFiguresToDie(nullptr);
    }

    // The instance ends before the runtime that holds it.
    stopComponentInstance();
    mclTerminateApplication();
    return status;
}
