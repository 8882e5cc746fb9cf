// The library's C interface: the only symbols it exports.
#pragma GCC visibility push(default)
#include "lumora_engine_abi.h"
#pragma GCC visibility pop

#include "engine.h"
#include "login.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

namespace {

using lumora::p2p::Engine;

constexpr const char* kStoreVariable = "LUMORA_ENGINE_STORE";
constexpr const char* kStoreFolder = "P2PStore";

Engine& engine() {
    // Destroyed at unload or exit, which stops whatever a missing UnInitlumora left running.
    static Engine instance;
    return instance;
}

// The store lies beside this library unless the environment names another folder.
std::filesystem::path storeFolder() {
    if (const char* chosen = std::getenv(kStoreVariable); chosen != nullptr && *chosen != '\0')
        return chosen;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&storeFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    return std::filesystem::absolute(info.dli_fname).parent_path() / kStoreFolder;
}

} // namespace

extern "C" {

LumoraBool Initlumora(int32_t, LumoraNotify4, LumoraNotify4, LumoraNotify2,
                      LumoraNotify2 progress) {
    try {
        const std::filesystem::path store = storeFolder();
        if (store.empty())
            return 0;
        Engine::Options options;
        options.store = store;
        if (progress != nullptr)
            options.progress = [progress](int32_t number, int32_t percent) {
                progress(number, percent);
            };
        return engine().start(options) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

void UnInitlumora(void) {
    try {
        engine().stop();
    } catch (...) {
    }
}

LumoraBool ClientLoginIn(int32_t clientCode, const char* urlHome) {
    try {
        return urlHome != nullptr && lumora::p2p::clientLogin(clientCode, urlHome) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

LumoraBool SetProgramInfo(const char* downUrl, int32_t, int32_t, int32_t, char* answer) {
    try {
        if (downUrl == nullptr || answer == nullptr)
            return 0;
        // Bounded: anything this long is refused anyway.
        const std::size_t length = strnlen(downUrl, LUMORA_ANSWER_SIZE);
        if (length >= LUMORA_ANSWER_SIZE)
            return 0;
        const auto play = engine().requestProgramme(std::string_view(downUrl, length));
        if (!play || play->size() >= LUMORA_ANSWER_SIZE)
            return 0;
        std::memcpy(answer, play->c_str(), play->size() + 1);
        return 1;
    } catch (...) {
        return 0;
    }
}

LumoraBool GetProgInfo(int32_t engineNo, int32_t* percent, int32_t* spare1, int32_t* spare2) {
    try {
        if (percent == nullptr)
            return 0;
        const auto value = engine().percentOf(engineNo);
        if (!value)
            return 0;
        *percent = *value;
        if (spare1 != nullptr)
            *spare1 = 0;
        if (spare2 != nullptr)
            *spare2 = 0;
        return 1;
    } catch (...) {
        return 0;
    }
}

} // extern "C"
