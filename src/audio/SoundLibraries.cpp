#include "SoundLibraries.h"

#include <atomic>
#include <mutex>

#include <dlfcn.h>

namespace {

// The versions whose headers the game is built with.
constexpr const char *LibraryNames[] = {
    "libSDL2-2.0.so.0",
    "libSDL2_mixer-2.0.so.0",
    "libfluidsynth.so.3",
};

std::atomic<const SoundLibraries *> loaded {nullptr};

const SoundLibraries *Load()
{
    static SoundLibraries libraries;
    void *handles[std::size(LibraryNames)] = {};
    for (std::size_t i = 0; i < std::size(LibraryNames); ++i) {
        // Never closed: the sound lives until the program ends.
        handles[i] = dlopen(LibraryNames[i], RTLD_NOW | RTLD_LOCAL);
        if (!handles[i]) {
            return nullptr;
        }
    }
    auto find = [&](const char *name) -> void * {
        for (void *handle : handles) {
            if (void *symbol = dlsym(handle, name)) {
                return symbol;
            }
        }
        return nullptr;
    };
    bool complete = true;
#define TUMBLEWICK_SOUND_FIND(name)                                                                \
    libraries.name = reinterpret_cast<decltype(&::name)>(find(#name));                             \
    complete = complete && libraries.name != nullptr;
    TUMBLEWICK_SOUND_FUNCTIONS(TUMBLEWICK_SOUND_FIND)
#undef TUMBLEWICK_SOUND_FIND
    return complete ? &libraries : nullptr;
}

} // namespace

const SoundLibraries *Sound()
{
    static std::once_flag once;
    std::call_once(once, [] { loaded = Load(); });
    return loaded;
}

const SoundLibraries *SoundIfLoaded()
{
    return loaded;
}
