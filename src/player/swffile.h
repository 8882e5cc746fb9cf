#pragma once

#include "swfpatch.h"

#include <QByteArray>

#include <functional>

namespace lumora::swf {

enum TagCode : int {
    kTagEnd = 0,
    kTagShowFrame = 1,
    kTagSetBackgroundColor = 9,
    kTagDoAction = 12,
    kTagProtect = 24,
    kTagProductInfo = 41,
    kTagEnableDebugger = 58,
    kTagDebugId = 63,
    kTagEnableDebugger2 = 64,
    kTagScriptLimits = 65,
    kTagFileAttributes = 69,
    kTagDoAbcDefine = 72,
    kTagMetadata = 77,
    kTagDoAbc = 82,
};

inline constexpr qsizetype kMaxMovieSize = 256 * 1024 * 1024;
inline constexpr qsizetype kFileHeaderSize = 8; // signature, version, file length

// A movie with its body inflated: `data` is the whole file as if it were "FWS".
struct SwfMovie {
    SwfInfo info;
    QByteArray data;
    qsizetype tagsOffset = 0; // first tag, after the stage rectangle, rate and frame count
};

struct SwfTag {
    int code;
    qsizetype offset;     // of the tag header
    qsizetype headerSize; // 2, or 6 for the long form
    qsizetype length;     // of the body
    qsizetype end() const { return offset + headerSize + length; }
};

// Throws SwfError for anything but a sound FWS, CWS or ZWS file (the tag list is checked too).
SwfMovie decodeMovie(const QByteArray& file);

// Calls visit for each tag of the main timeline up to and including End (or the end of the
// data); stops early when visit returns false. Throws SwfError for a tag past the end.
void walkTags(const QByteArray& data, qsizetype from,
              const std::function<bool(const SwfTag&)>& visit);

// The file for `data` (an "FWS" image): length field set, deflated when compressed.
QByteArray encodeMovie(const QByteArray& data, bool compressed);

// A tag with the short header when its body allows it.
QByteArray makeTag(int code, const QByteArray& body);

} // namespace lumora::swf
