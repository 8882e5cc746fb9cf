#pragma once

// Control functions of the stand-in engine library, looked up by the tests with dlsym.
// The stub keeps a text log of the calls it received; texts appear as upper-case hex bytes.

#include <stdint.h>

extern "C" {
typedef const char* (*StubLogFn)(void);
typedef void (*StubClearFn)(void);
// result: what SetProgramInfo and GetProgInfo return; answer: bytes written into the buffer
// (answerLength of them; 1024 fills the buffer without a terminator).
typedef void (*StubScriptFn)(int32_t result, const char* answer, int32_t answerLength,
                             int32_t percent);
// Calls every callback given to Initlumora, the progress one with (number, percent); from a
// thread of the stub's own when otherThread is non-zero (joined before returning).
typedef void (*StubFireFn)(int32_t number, int32_t percent, int32_t otherThread);
}
