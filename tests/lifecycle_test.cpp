#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "case_name.h"
#include "launcher_fixture.h"
#include "runtime_roads.h"

namespace {

struct Road {
    const char* name;
    bool applicationStarts;
    bool coreStarts;
    bool instanceStarts;
    int32_t mainStatus;
    int expectedStatus;
    Calls expectedCalls;
};

const Road roads[] = {
    {"ApplicationFails", false, true, true, 0, 0, {"mclInitializeApplication"}},
    {"CoreFails", true, false, true, 0, -1, {"mclInitializeApplication", "mclmcrInitialize"}},
    {"RegistrationFails",
     true,
     true,
     false,
     0,
     -1,
     {"mclInitializeApplication", "mclmcrInitialize", "mclInitializeComponentInstance"}},
    {"MainSucceeds", true, true, true, 0, 0, successfulRun},
    {"MainReturns3", true, true, true, 3, 3, failedRun},
    {"MainReturnsMinus1", true, true, true, -1, -1, failedRun},
    {"MainReturns256", true, true, true, 256, 256, failedRun},
    {"MainReturnsMinimum", true, true, true, INT32_MIN, INT32_MIN, failedRun},
    {"MainReturnsMaximum", true, true, true, INT32_MAX, INT32_MAX, failedRun},
};

class LifecycleRoad : public LauncherTest, public ::testing::WithParamInterface<Road> {};

TEST_P(LifecycleRoad, CallsTheRuntimeInOrderAndReturnsTheStatus)
{
    const Road& road = GetParam();
    fakeRuntime.applicationStarts = road.applicationStarts;
    fakeRuntime.coreStarts = road.coreStarts;
    fakeRuntime.instanceStarts = road.instanceStarts;
    fakeRuntime.mainStatus = road.mainStatus;
    const char* argv[] = {"/opt/app/zembraTolvique", "x", nullptr};

    EXPECT_EQ(runLauncher(2, argv), road.expectedStatus);
    EXPECT_EQ(fakeRuntime.calls, road.expectedCalls);
}

INSTANTIATE_TEST_SUITE_P(AllRoads, LifecycleRoad, ::testing::ValuesIn(roads), CaseName());

TEST_F(LauncherTest, StartsTheApplicationWithAnEmptyOptionList)
{
    const char* argv[] = {"zembraTolvique", nullptr};
    runLauncher(1, argv);

    ASSERT_NE(fakeRuntime.applicationOptions, nullptr);
    EXPECT_STREQ(fakeRuntime.applicationOptions[0], "");
    EXPECT_EQ(fakeRuntime.applicationOptionCount, 0);
}

TEST_F(LauncherTest, HandsTheCommandLineToTheMainFunctionUnchanged)
{
    const char* argv[] = {"C:\\apps\\zembraTolvique.exe", "", "two words", "\xFF\x01", nullptr};
    runLauncher(4, argv);

    ASSERT_EQ(fakeRuntime.mains.size(), 1U);
    const MainCall& call = fakeRuntime.mains[0];
    EXPECT_EQ(call.instance, fakeInstanceHandle());
    EXPECT_EQ(call.argc, 4);
    EXPECT_EQ(call.argv, argv);  // the very vector, not a copy
    EXPECT_STREQ(call.mainFunctionName, "zembratolvique");
    EXPECT_EQ(call.runFlag, 0);
}

TEST_F(LauncherTest, WaitsWithANullArgumentAndStopsTheInstanceItCreated)
{
    const char* argv[] = {"zembraTolvique", nullptr};
    runLauncher(1, argv);

    EXPECT_EQ(fakeRuntime.waitArguments, std::vector<void*>{nullptr});
    EXPECT_EQ(fakeRuntime.terminatedInstances, std::vector<ComponentHandle*>{&componentInstance});
}

}  // namespace
