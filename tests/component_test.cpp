#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "descriptor.h"
#include "launcher_fixture.h"

namespace {

using Calls = std::vector<std::string>;

int32_t firstHandler(const char* /*text*/)
{
    return 1;
}

int32_t secondHandler(const char* /*text*/)
{
    return 2;
}

TEST_F(LauncherTest, RegistersTheDescriptorWithSeventeenArguments)
{
    ASSERT_TRUE(startComponentInstance(firstHandler, secondHandler));

    EXPECT_EQ(fakeRuntime.calls, (Calls{"mclmcrInitialize", "mclInitializeComponentInstance"}));
    ASSERT_EQ(fakeRuntime.registrations.size(), 1U);
    const RegistrationCall& r = fakeRuntime.registrations[0];
    EXPECT_EQ(r.instance, &componentInstance);
    EXPECT_EQ(componentInstance, fakeInstanceHandle());
    EXPECT_EQ(std::string(r.publicKeyHex).size(), 320U);
    EXPECT_STREQ(r.componentName, "zembraTolvique");
    EXPECT_STREQ(r.extraText, "");
    EXPECT_EQ(std::string(r.keyHex).size(), 256U);

    ASSERT_EQ(r.searchPathCount, 35);
    EXPECT_STREQ(r.searchPath[0], "zembraTolvique/");
    EXPECT_STREQ(r.searchPath[1], "toolbox/compiler/deploy/");
    EXPECT_STREQ(r.searchPath[4], "$TOOLBOXMATLABDIR/general/");
    EXPECT_STREQ(r.searchPath[31], "$TOOLBOXMATLABDIR/demos/");
    EXPECT_STREQ(r.searchPath[34], "toolbox/database/database/");

    ASSERT_EQ(r.classPathCount, 1);
    EXPECT_STREQ(r.classPath[0], "java/jar/toolbox/database.jar");

    EXPECT_EQ(r.extraListCount, 0);
    ASSERT_NE(r.extraList, nullptr);
    EXPECT_STREQ(r.extraList[0], "");

    EXPECT_EQ(r.integers[0], 1);
    EXPECT_EQ(r.integers[1], 0);
    EXPECT_EQ(r.integers[2], 0);
    EXPECT_EQ(r.integers[3], 0);
    EXPECT_EQ(r.errorHandler, &firstHandler);
    EXPECT_EQ(r.printHandler, &secondHandler);
}

TEST_F(LauncherTest, OnConsoleRegistersTheErrorHandlerBeforeThePrintHandler)
{
    ASSERT_TRUE(startComponentInstanceOnConsole());

    ASSERT_EQ(fakeRuntime.registrations.size(), 1U);
    EXPECT_EQ(fakeRuntime.registrations[0].errorHandler, &consoleErrorHandler);
    EXPECT_EQ(fakeRuntime.registrations[0].printHandler, &consolePrintHandler);
}

TEST_F(LauncherTest, ASecondStartCallsNothingAndKeepsTheFirstHandlers)
{
    ASSERT_TRUE(startComponentInstance(firstHandler, secondHandler));
    fakeRuntime.calls.clear();

    EXPECT_TRUE(startComponentInstance(secondHandler, firstHandler));
    EXPECT_TRUE(fakeRuntime.calls.empty());
    EXPECT_EQ(fakeRuntime.registrations.size(), 1U);
}

TEST_F(LauncherTest, AFailedRegistrationIsRetriedFromTheCoreStart)
{
    fakeRuntime.instanceStarts = false;
    EXPECT_FALSE(startComponentInstance(firstHandler, secondHandler));
    EXPECT_EQ(componentInstance, nullptr);

    fakeRuntime.instanceStarts = true;
    EXPECT_TRUE(startComponentInstance(firstHandler, secondHandler));
    EXPECT_EQ(fakeRuntime.calls, (Calls{"mclmcrInitialize", "mclInitializeComponentInstance",
                                        "mclmcrInitialize", "mclInitializeComponentInstance"}));
    EXPECT_EQ(componentInstance, fakeInstanceHandle());
}

TEST_F(LauncherTest, AFailedCoreStartRegistersNothing)
{
    fakeRuntime.coreStarts = false;
    EXPECT_FALSE(startComponentInstance(firstHandler, secondHandler));
    EXPECT_EQ(fakeRuntime.calls, Calls{"mclmcrInitialize"});
}

TEST_F(LauncherTest, StopWithoutAnInstanceCallsNothing)
{
    stopComponentInstance();
    EXPECT_TRUE(fakeRuntime.calls.empty());
}

TEST_F(LauncherTest, StopEndsTheInstanceThroughItsAddressAndLeavesTheHandle)
{
    ASSERT_TRUE(startComponentInstance(firstHandler, secondHandler));
    fakeRuntime.calls.clear();

    stopComponentInstance();
    EXPECT_EQ(fakeRuntime.calls, Calls{"mclTerminateInstance"});
    EXPECT_EQ(fakeRuntime.terminatedInstances, std::vector<ComponentHandle*>{&componentInstance});
    EXPECT_EQ(componentInstance, fakeInstanceHandle());
}

}  // namespace
