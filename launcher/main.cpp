#include "exit_status.h"
#include "launcher.h"

int main(int argc, char** argv)
{
    return processExitStatus(runLauncher(argc, const_cast<const char**>(argv)));
}
