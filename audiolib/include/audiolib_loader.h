#pragma once
// Loading the library at run time: one pointer per call, each resolved by its exported name.
// Whatever sits in plugins\ under the library's name (ours or another with the same calls) is
// reached this way.
#include "audiolib.h"

struct AudiolibApi {
#define AUDIOLIB_POINTER(name, ret, params) decltype(&::name) name = nullptr;
    AUDIOLIB_EXPORTS(AUDIOLIB_POINTER)
#undef AUDIOLIB_POINTER
};

// Fills api from module; returns the name of the first call the module lacks, or null.
inline const char* AudiolibResolve(HMODULE module, AudiolibApi& api) {
    const char* missing = nullptr;
    // Through a plain function pointer type: FARPROC carries no signature to compare with.
#define AUDIOLIB_RESOLVE(name, ret, params)                                                 \
    {                                                                                       \
        FARPROC proc = GetProcAddress(module, #name);                                       \
        api.name = reinterpret_cast<decltype(api.name)>(reinterpret_cast<void (*)()>(proc)); \
        if (!proc && !missing) missing = #name;                                             \
    }
    AUDIOLIB_EXPORTS(AUDIOLIB_RESOLVE)
#undef AUDIOLIB_RESOLVE
    return missing;
}
