#include "launcher.h"

#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

#ifndef _WIN32
namespace {

// Caught rather than ignored: a caught signal reverts to its default in any
// program the runtime starts, an ignored one would be inherited.
extern "C" void discardSignal(int /*signal*/) {}

// A standard descriptor that the caller closed would be handed to the next
// file the runtime opens, and the component's console text would land in
// that file. Holding the number with a device keeps the text out of it:
// input reads nothing, output fails as a closed descriptor does. The
// descriptors are held in order, so the lowest free number, which open
// returns, is the one being held.
void holdStandardDescriptor(int descriptor, const char* device, int mode)
{
    if (fcntl(descriptor, F_GETFD) == -1) {
        open(device, mode);  // no O_CLOEXEC: inherited, as a standard descriptor is
    }
}

}  // namespace
#endif

void prepareProcess()
{
#ifndef _WIN32
    holdStandardDescriptor(STDIN_FILENO, "/dev/null", O_RDONLY);
    holdStandardDescriptor(STDOUT_FILENO, "/dev/full", O_WRONLY);
    holdStandardDescriptor(STDERR_FILENO, "/dev/full", O_WRONLY);

    // A reader that goes away shows as a failed write in the handlers' counts,
    // as on Windows, instead of ending the process before the runtime is
    // shut down in order. (glibc's signal() restarts interrupted calls.)
    // Should it fail, the default stays and such a reader ends the process.
    (void)signal(SIGPIPE, discardSignal);
#endif
}
