#include "SoundLibraries.h"

#include <atomic>
#include <mutex>
#include <type_traits>

#include <dlfcn.h>

namespace {

// Opens the library (never closed: the sound lives until the program ends)
// and finds each of the table's functions; false when anything is missing.
template <typename Table> bool Load(const char *libraryName, Table &table)
{
    void *handle = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        return false;
    }
    // A program that links the library itself (the tests do) finds its own
    // definitions first, as its own calls would.
    const auto find = [handle](const char *name) -> void * {
        if (void *own = dlsym(RTLD_DEFAULT, name)) {
            return own;
        }
        return dlsym(handle, name);
    };
    bool complete = true;
#define TUMBLEWICK_SOUND_FIND(name)                                                                \
    table.name = reinterpret_cast<decltype(&::name)>(find(#name));                                 \
    complete = complete && table.name != nullptr;
    if constexpr (std::is_same_v<Table, SdlLibrary>) {
        TUMBLEWICK_SDL_FUNCTIONS(TUMBLEWICK_SOUND_FIND)
    } else {
        TUMBLEWICK_SYNTH_FUNCTIONS(TUMBLEWICK_SOUND_FIND)
    }
#undef TUMBLEWICK_SOUND_FIND
    return complete;
}

std::atomic<const SdlLibrary *> sdl {nullptr};

} // namespace

const SdlLibrary *Sdl()
{
    static std::once_flag once;
    std::call_once(once, [] {
        static SdlLibrary library;
        // The versions whose headers the game is built with.
        if (Load("libSDL2-2.0.so.0", library)) {
            sdl = &library;
        }
    });
    return sdl;
}

const SdlLibrary *SdlIfLoaded()
{
    return sdl;
}

const SynthLibrary *Synthesiser()
{
    static const SynthLibrary *const loaded = []() -> const SynthLibrary * {
        static SynthLibrary library;
        if (!Load("libfluidsynth.so.3", library)) {
            return nullptr;
        }
        // The synthesiser writes a warning to standard error for every voice
        // it cannot start: a piece with a few thousand notes at once makes
        // that hundreds of megabytes a minute. The game reports nothing on
        // standard error (a piece that cannot be played stays silent), so
        // its messages are dropped, at every level.
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            library.fluid_set_log_function(level, nullptr, nullptr);
        }
        return &library;
    }();
    return loaded;
}
