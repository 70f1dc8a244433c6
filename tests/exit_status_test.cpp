#include <gtest/gtest.h>

#include "exit_status.h"

namespace {

struct StatusCase {
    int status;
    int expected;
};

#ifdef _WIN32
TEST(ProcessExitStatus, PassesWholeOnWindows)
{
    for (int status : {0, 1, -1, 256, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(processExitStatus(status), status);
    }
}
#else
TEST(ProcessExitStatus, KeepsTheLowByteAndNeverTurnsAFailureIntoSuccess)
{
    const StatusCase cases[] = {
        {0, 0},    {1, 1},     {3, 3},         {255, 255},       {-1, 255},
        {-2, 254}, {256, 1},   {-256, 1},      {512, 1},         {257, 1},
        {258, 2},  {65536, 1}, {INT32_MIN, 1}, {INT32_MAX, 255}, {-255, 1},
    };
    for (const StatusCase& c : cases) {
        EXPECT_EQ(processExitStatus(c.status), c.expected) << "status " << c.status;
    }
}
#endif

}  // namespace
