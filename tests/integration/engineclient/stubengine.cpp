// A stand-in for libLumora.so that records its calls for the tests.
#include "lumora_engine_abi.h"
#include "stubcontrol.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

namespace {

std::mutex g_mutex;
std::string g_log;
int32_t g_result = 1;
std::string g_answer;
int32_t g_percent = 0;
LumoraNotify4 g_notify1 = nullptr;
LumoraNotify4 g_notify2 = nullptr;
LumoraNotify2 g_notify3 = nullptr;
LumoraNotify2 g_progress = nullptr;

std::string hex(const char* text) {
    std::string out;
    char digits[3];
    for (; *text; ++text) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(*text));
        out += digits;
    }
    return out;
}

void log(const std::string& line) {
    std::lock_guard lock(g_mutex);
    g_log += line + "\n";
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) LumoraBool
Initlumora(int32_t clientCode, LumoraNotify4 notify1, LumoraNotify4 notify2, LumoraNotify2 notify3,
           LumoraNotify2 progress) {
    g_notify1 = notify1;
    g_notify2 = notify2;
    g_notify3 = notify3;
    g_progress = progress;
    log("Initlumora(" + std::to_string(clientCode) + ")");
    return 1;
}

__attribute__((visibility("default"))) void UnInitlumora(void) {
    log("UnInitlumora()");
}

__attribute__((visibility("default"))) LumoraBool ClientLoginIn(int32_t clientCode,
                                                                const char* urlHome) {
    log("ClientLoginIn(" + std::to_string(clientCode) + "," + hex(urlHome) + ")");
    return 1;
}

__attribute__((visibility("default"))) LumoraBool
SetProgramInfo(const char* downUrl, int32_t id, int32_t a, int32_t b, char* answer) {
    bool zeroed = true;
    for (int i = 0; i < LUMORA_ANSWER_SIZE; ++i)
        zeroed = zeroed && answer[i] == 0;
    log("SetProgramInfo(" + hex(downUrl) + "," + std::to_string(id) + "," + std::to_string(a) +
        "," + std::to_string(b) + "," + (zeroed ? "zeroed" : "dirty") + ")");
    std::lock_guard lock(g_mutex);
    std::memcpy(answer, g_answer.data(), g_answer.size());
    return LumoraBool(g_result);
}

#ifndef LUMORA_STUB_WITHOUT_GETPROGINFO
__attribute__((visibility("default"))) LumoraBool GetProgInfo(int32_t engineNo, int32_t* percent,
                                                              int32_t* spare1, int32_t* spare2) {
    const bool distinct = percent != spare1 && percent != spare2 && spare1 != spare2;
    log("GetProgInfo(" + std::to_string(engineNo) + "," + (distinct ? "cells" : "shared") + ")");
    std::lock_guard lock(g_mutex);
    *percent = g_percent;
    *spare1 = -1;
    *spare2 = -1;
    return LumoraBool(g_result);
}
#endif

__attribute__((visibility("default"))) const char* stubLog(void) {
    return g_log.c_str();
}

__attribute__((visibility("default"))) void stubClear(void) {
    std::lock_guard lock(g_mutex);
    g_log.clear();
}

__attribute__((visibility("default"))) void stubScript(int32_t result, const char* answer,
                                                       int32_t answerLength, int32_t percent) {
    std::lock_guard lock(g_mutex);
    g_result = result;
    g_answer.assign(answer, std::size_t(answerLength));
    g_percent = percent;
}

__attribute__((visibility("default"))) void stubFire(int32_t number, int32_t percent,
                                                     int32_t otherThread) {
    auto fire = [=] {
        g_notify1(1, 2, 3, 4);
        g_notify2(5, 6, 7, 8);
        g_notify3(9, 10);
        g_progress(number, percent);
    };
    if (otherThread)
        std::thread(fire).join();
    else
        fire();
}
}
