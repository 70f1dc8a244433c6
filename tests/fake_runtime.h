// A runtime that records every call the launcher makes and answers as the
// test tells it to. Tests set the answers, run launcher code, then assert the log.
#ifndef FAKE_RUNTIME_H
#define FAKE_RUNTIME_H

#include <cstdint>
#include <string>
#include <vector>

#include "component_runtime.h"

struct RegistrationCall {
    ComponentHandle* instance;
    const char* publicKeyHex;
    const char* componentName;
    const char* extraText;
    const char* keyHex;
    const char** searchPath;
    int32_t searchPathCount;
    const char** classPath;
    int32_t classPathCount;
    const char** extraList;
    int32_t extraListCount;
    int32_t integers[4];
    OutputHandler errorHandler;
    OutputHandler printHandler;
};

struct MainCall {
    ComponentHandle instance;
    int32_t argc;
    const char** argv;
    const char* mainFunctionName;
    int32_t runFlag;
};

struct FakeRuntime {
    // Answers.
    bool applicationStarts = true;
    bool coreStarts = true;
    bool instanceStarts = true;
    int32_t mainStatus = 0;

    // Log: the names of the functions called, in order, and what they received.
    std::vector<std::string> calls;
    const char** applicationOptions = nullptr;
    int32_t applicationOptionCount = -1;
    std::vector<RegistrationCall> registrations;
    std::vector<MainCall> mains;
    std::vector<void*> waitArguments;
    std::vector<ComponentHandle*> terminatedInstances;
};

// The one fake the seven functions answer from; reset before each test.
extern FakeRuntime fakeRuntime;

// The handle the fake hands out for a created instance.
ComponentHandle fakeInstanceHandle();

#endif
