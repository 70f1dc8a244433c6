#ifndef LAUNCHER_FIXTURE_H
#define LAUNCHER_FIXTURE_H

#include <gtest/gtest.h>

#include "fake_runtime.h"
#include "launcher.h"

// Every test starts with a fresh fake and no component instance, as a new
// process would.
class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fakeRuntime = FakeRuntime{};
        componentInstance = nullptr;
    }
};

#endif
