// The stand-in runtime refuses what a real runtime would refuse, and says why
// in one line through the error handler it was given.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "case_name.h"
#include "component_runtime.h"

namespace {

std::vector<std::string> errorLines;
std::string printed;

int32_t recordError(const char* text)
{
    errorLines.emplace_back(text);
    return 0;
}

int32_t recordPrint(const char* text)
{
    printed += text;
    return 0;
}

const std::string goodPublicKey(320, 'A');
const std::string goodKey(256, 'F');
const std::string lowerCaseKey(256, 'f');
const char* folders[] = {"zembraTolvique/", "toolbox/local/"};
const char* emptyList[] = {""};

struct Registration {
    const char* name;
    ComponentHandle* instance;
    const char* publicKey;
    const char* componentName;
    const char* key;
    const char** searchPath;
    int32_t searchPathCount;
    const char** extraList;
    int32_t extraListCount;
    const char* expectedReason;  // null: accepted
};

ComponentHandle handle = nullptr;

const Registration registrations[] = {
    {"Sound", &handle, goodPublicKey.c_str(), "c", goodKey.c_str(), folders, 2, emptyList, 0,
     nullptr},
    {"NoHandlePlace", nullptr, goodPublicKey.c_str(), "c", goodKey.c_str(), folders, 2, emptyList,
     0, "no place for the instance handle"},
    {"ShortPublicKey", &handle, "ABCD", "c", goodKey.c_str(), folders, 2, emptyList, 0,
     "the public key is not 320 upper-case hex digits"},
    {"LowerCaseKey", &handle, goodPublicKey.c_str(), "c", lowerCaseKey.c_str(), folders, 2,
     emptyList, 0, "the key is not 256 upper-case hex digits"},
    {"NamelessComponent", &handle, goodPublicKey.c_str(), "", goodKey.c_str(), folders, 2,
     emptyList, 0, "the component has no name"},
    {"NullSearchPath", &handle, goodPublicKey.c_str(), "c", goodKey.c_str(), nullptr, 2, emptyList,
     0, "the search path is not a list of folders"},
    {"NegativeCount", &handle, goodPublicKey.c_str(), "c", goodKey.c_str(), folders, -1, emptyList,
     0, "the search path is not a list of folders"},
    {"NullEmptyList", &handle, goodPublicKey.c_str(), "c", goodKey.c_str(), folders, 2, nullptr, 0,
     "the extra list is not a list of texts"},
};

class Registrations : public ::testing::TestWithParam<Registration> {
protected:
    void SetUp() override
    {
        errorLines.clear();
        handle = nullptr;
        unsetenv("STANDIN_RUNTIME_FAIL");
        ASSERT_TRUE(mclInitializeApplication(emptyList, 0));
        ASSERT_TRUE(mclmcrInitialize());
    }
    void TearDown() override { mclTerminateApplication(); }
};

TEST_P(Registrations, AreCheckedAsARuntimeWould)
{
    const Registration& r = GetParam();
    const char* classPath[] = {"java/jar/toolbox/database.jar"};
    const bool started = mclInitializeComponentInstance(
        r.instance, r.publicKey, r.componentName, "", r.key, r.searchPath, r.searchPathCount,
        classPath, 1, r.extraList, r.extraListCount, 1, 0, 0, 0, recordError, recordPrint);

    if (r.expectedReason == nullptr) {
        EXPECT_TRUE(started);
        EXPECT_NE(handle, nullptr);
        EXPECT_TRUE(errorLines.empty());
        mclTerminateInstance(&handle);
    } else {
        EXPECT_FALSE(started);
        ASSERT_EQ(errorLines.size(), 1U);
        EXPECT_EQ(errorLines[0],
                  std::string("stand-in runtime: refused registration: ") + r.expectedReason);
        EXPECT_EQ(errorLines[0].find('\n'), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(StandIn, Registrations, ::testing::ValuesIn(registrations), CaseName());

TEST(StandIn, RefusesARegistrationBeforeTheRuntimeStarted)
{
    errorLines.clear();
    ComponentHandle h = nullptr;
    const char* classPath[] = {"x"};
    EXPECT_FALSE(mclInitializeComponentInstance(&h, goodPublicKey.c_str(), "c", "", goodKey.c_str(),
                                                folders, 2, classPath, 1, emptyList, 0, 1, 0, 0, 0,
                                                recordError, recordPrint));
    EXPECT_EQ(errorLines,
              std::vector<std::string>{
                  "stand-in runtime: refused registration: the runtime was not started"});
}

class StandInComponent : public ::testing::Test {
protected:
    void SetUp() override
    {
        errorLines.clear();
        printed.clear();
        ASSERT_TRUE(mclInitializeApplication(emptyList, 0));
        ASSERT_TRUE(mclmcrInitialize());
        ASSERT_TRUE(mclInitializeComponentInstance(
            &instance, goodPublicKey.c_str(), "c", "", goodKey.c_str(), folders, 2, classPath, 1,
            emptyList, 0, 1, 0, 0, 0, recordError, recordPrint));
    }
    void TearDown() override
    {
        for (const char* knob : {"STANDIN_RUNTIME_STATUS", "STANDIN_RUNTIME_REPEAT",
                                 "STANDIN_RUNTIME_PRINT", "STANDIN_RUNTIME_ERROR"}) {
            unsetenv(knob);
        }
        mclTerminateInstance(&instance);
        mclTerminateApplication();
    }
    int32_t runMain()
    {
        const char* argv[] = {"prog", nullptr};
        return mclMain(instance, 1, argv, "zembratolvique", 0);
    }

    const char* classPath[1] = {"x"};
    ComponentHandle instance = nullptr;
};

TEST_F(StandInComponent, KnobsThatAreNoIntegerFailTheRunWithAReason)
{
    const struct {
        const char* knob;
        const char* value;
    } bad[] = {
        {"STANDIN_RUNTIME_STATUS", ""},
        {"STANDIN_RUNTIME_STATUS", "3x"},
        {"STANDIN_RUNTIME_STATUS", "99999999999"},
        {"STANDIN_RUNTIME_STATUS", "one"},
        {"STANDIN_RUNTIME_REPEAT", "-1"},
        {"STANDIN_RUNTIME_REPEAT", "many"},
    };
    for (const auto& knob : bad) {
        setenv(knob.knob, knob.value, 1);
        errorLines.clear();
        EXPECT_EQ(runMain(), 1) << knob.knob << "=" << knob.value;
        ASSERT_EQ(errorLines.size(), 1U);
        EXPECT_EQ(errorLines[0].rfind(std::string("stand-in runtime: ") + knob.knob, 0), 0U)
            << errorLines[0];
        unsetenv(knob.knob);
    }
    EXPECT_EQ(printed, "");
    EXPECT_EQ(runMain(), 0);
    EXPECT_EQ(printed, "prog\n");
}

TEST_F(StandInComponent, RepeatsThePrintedTexts)
{
    setenv("STANDIN_RUNTIME_PRINT", "ab", 1);
    setenv("STANDIN_RUNTIME_ERROR", "e", 1);
    setenv("STANDIN_RUNTIME_REPEAT", "3", 1);
    EXPECT_EQ(runMain(), 0);
    EXPECT_EQ(printed, "ababab");
    EXPECT_EQ(errorLines, std::vector<std::string>(3, "e"));

    setenv("STANDIN_RUNTIME_REPEAT", "0", 1);
    printed.clear();
    EXPECT_EQ(runMain(), 0);
    EXPECT_EQ(printed, "");
}

}  // namespace
