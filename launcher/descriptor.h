// The fixed identity and configuration of the one component this launcher is
// built for. Everything here is constant data, read-only for the whole process.
#ifndef DESCRIPTOR_H
#define DESCRIPTOR_H

#include <cstdint>

// An array of texts with its count. An empty list still points at an array
// holding one empty text, so the runtime is never handed a null array.
struct TextList {
    const char* const* texts;
    int32_t count;
};

struct ComponentDescriptor {
    const char* componentPublicKeyHex;
    const char* componentName;
    const char* componentExtraText;
    const char* componentKeyHex;
    TextList componentSearchPath;
    TextList componentClassPath;
    TextList componentExtraList;
    const char* mainFunctionName;
    TextList applicationOptions;
};

extern const ComponentDescriptor componentDescriptor;

// The runtime's declarations predate const-correct lists; it only reads them.
inline const char** runtimeTextArray(const TextList& list)
{
    return const_cast<const char**>(list.texts);  // NOLINT(cppcoreguidelines-pro-type-const-cast)
}

#endif
