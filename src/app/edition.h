#pragma once

#include "fileversion.h"

#include <QString>

#include <optional>
#include <span>

namespace lumora {

// One row of the edition table.
struct Edition {
    int code;              // 0 for the premium edition that answers every other code
    const char* appTitle;  // the application's title
    const char* mutexName; // the single-instance mutex
    const char* caption;   // the main window's caption
    const char* header;    // the header label lblSysVer
};

// The row for an edition code; codes outside 21..25 give the premium row.
const Edition& editionFor(int editionCode);
bool isChannelEdition(int editionCode);
// Every row, the premium row last.
std::span<const Edition> allEditions();

// The hint that edition 21 shows in lblHint.
inline constexpr const char* kPinyinHint = "提示:\"练\"暂不可用";

// Build component of the program file's version; 0 without version information.
int getEditionCode(const std::optional<FileVersion>& version);
// "A.B.C.D"; "0.0.0.0" without version information.
QString getVersionString(const std::optional<FileVersion>& version);

} // namespace lumora
