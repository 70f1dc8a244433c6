// How the launcher's 32-bit status becomes the process exit status.
#ifndef EXIT_STATUS_H
#define EXIT_STATUS_H

// Windows keeps the whole 32-bit status. Elsewhere the parent sees only the
// low 8 bits, so a failure such as 256 would read as success; such statuses
// exit with 1 instead, and every other one with its low 8 bits (-1 as 255).
constexpr int processExitStatus(int status)
{
#ifdef _WIN32
    return status;
#else
    const int low = static_cast<int>(static_cast<unsigned int>(status) & 0xFFU);
    return (status != 0 && low == 0) ? 1 : low;
#endif
}

#endif
