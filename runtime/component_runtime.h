// The seven functions of the component runtime that the launcher imports, and
// the callback type through which the runtime hands back the component's
// console text. Any runtime built to these types links: the closed runtime's
// import library, the stand-in next to this file, or a test's fake.
#ifndef COMPONENT_RUNTIME_H
#define COMPONENT_RUNTIME_H

#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Receives one NUL-terminated byte text; returns how many bytes it wrote.
typedef int32_t (*OutputHandler)(const char* text);

// Opaque handle of a component instance: only the runtime knows what it points at.
typedef struct ComponentInstanceState* ComponentHandle;

bool mclInitializeApplication(const char** options, int32_t optionCount);

bool mclmcrInitialize(void);

bool mclInitializeComponentInstance(ComponentHandle* instance, const char* publicKeyHex,
                                    const char* componentName, const char* extraText,
                                    const char* keyHex, const char** searchPath,
                                    int32_t searchPathCount, const char** classPath,
                                    int32_t classPathCount, const char** extraList,
                                    int32_t extraListCount, int32_t instanceFlag, int32_t reserved1,
                                    int32_t reserved2, int32_t reserved3,
                                    OutputHandler errorHandler, OutputHandler printHandler);

int32_t mclMain(ComponentHandle instance, int32_t argc, const char** argv,
                const char* mainFunctionName, int32_t runFlag);

bool mclWaitForFiguresToDie(void* unused);

bool mclTerminateInstance(ComponentHandle* instance);

bool mclTerminateApplication(void);

#ifdef __cplusplus
}
#endif

#endif
