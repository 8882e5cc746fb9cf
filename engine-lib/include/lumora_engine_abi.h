/* The C interface of the download and login engine library libLumora.so.
   Integers are 32-bit, texts zero-terminated 8-bit GBK, a boolean one byte (non-zero is true). */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned char LumoraBool;
typedef void (*LumoraNotify4)(int32_t a, int32_t b, int32_t c, int32_t d);
typedef void (*LumoraNotify2)(int32_t a, int32_t b);

/* Size of the answer buffer that SetProgramInfo fills. */
#define LUMORA_ANSWER_SIZE 1024

LumoraBool Initlumora(int32_t clientCode, LumoraNotify4 notify1, LumoraNotify4 notify2,
                      LumoraNotify2 notify3, LumoraNotify2 progress);
void UnInitlumora(void);
LumoraBool ClientLoginIn(int32_t clientCode, const char* urlHome);
LumoraBool SetProgramInfo(const char* downUrl, int32_t id, int32_t a, int32_t b, char* answer);
LumoraBool GetProgInfo(int32_t engineNo, int32_t* percent, int32_t* spare1, int32_t* spare2);

#ifdef __cplusplus
}
#endif
