// The launcher's own functions: the lifecycle that runs the component, the
// start and stop of its one instance, and the two console handlers that the
// runtime writes the component's text through.
#ifndef LAUNCHER_H
#define LAUNCHER_H

#include <cstdint>

#include "component_runtime.h"

// Runs the component once with the process's own command line and returns
// its status: 0 when the runtime cannot start, -1 when the instance cannot
// be created, otherwise what the component's main function returned.
int runLauncher(int argc, const char** argv);

// Makes the process safe for the run on POSIX systems: a closed standard
// descriptor stays taken, and a vanished reader fails a write rather than
// ending the process. Nothing to do on Windows.
void prepareProcess();

// The one component instance; null until the runtime has created it.
extern ComponentHandle componentInstance;

// Creates the instance unless it exists already; the handlers are handed to
// the runtime only by the call that creates it.
bool startComponentInstance(OutputHandler errorHandler, OutputHandler printHandler);

// Creates the instance with the console handlers below.
bool startComponentInstanceOnConsole();

// Ends the instance, if there is one.
void stopComponentInstance();

// Writes the text to standard output as it comes; returns the bytes written.
int32_t consolePrintHandler(const char* text);

// Writes the text to standard error, ending a non-empty text that lacks one
// with a line feed; returns the bytes written, the line feed included.
int32_t consoleErrorHandler(const char* text);

#endif
