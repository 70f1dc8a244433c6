// The runtime calls of a whole run, as every test that watches them expects them.
#ifndef RUNTIME_ROADS_H
#define RUNTIME_ROADS_H

#include <string>
#include <vector>

using Calls = std::vector<std::string>;

// A run whose main function returned 0: it waits for the figure windows.
inline const Calls successfulRun = {
    "mclInitializeApplication", "mclmcrInitialize",     "mclInitializeComponentInstance", "mclMain",
    "mclWaitForFiguresToDie",   "mclTerminateInstance", "mclTerminateApplication"};

// A run whose main function failed: no wait, the same orderly end.
inline const Calls failedRun = {"mclInitializeApplication",       "mclmcrInitialize",
                                "mclInitializeComponentInstance", "mclMain",
                                "mclTerminateInstance",           "mclTerminateApplication"};

#endif
