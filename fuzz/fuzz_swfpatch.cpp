#include "fuzzcheck.h"
#include "swfpatch.h"

#include <QByteArray>

#include <cstdint>

namespace {

void checkSame(const lumora::SwfInfo& a, const lumora::SwfInfo& b) {
    LUMORA_FUZZ_CHECK(a.version == b.version);
    LUMORA_FUZZ_CHECK(a.compressed == b.compressed);
    LUMORA_FUZZ_CHECK(a.avm2 == b.avm2);
    LUMORA_FUZZ_CHECK(a.frameCount == b.frameCount);
    LUMORA_FUZZ_CHECK(a.frameRate == b.frameRate);
    LUMORA_FUZZ_CHECK(a.width == b.width && a.height == b.height);
}

} // namespace

// Input: a Flash movie.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray swf =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<lumora::SwfInfo> info = lumora::readSwfInfo(swf);
    for (const bool loop : {true, false}) {
        QByteArray out;
        try {
            out = lumora::instrumentMovie(swf, lumora::SwfPatchOptions{loop, {}});
        } catch (const lumora::SwfError&) {
            continue;
        }
        // What can be rewritten can be read, and the rewrite keeps the header facts.
        LUMORA_FUZZ_CHECK(info.has_value());
        const std::optional<lumora::SwfInfo> after = lumora::readSwfInfo(out);
        LUMORA_FUZZ_CHECK(after.has_value());
        checkSame(*info, *after);
        if (info->avm2)
            LUMORA_FUZZ_CHECK(out == swf);
        else
            LUMORA_FUZZ_CHECK(out != swf);

        // Whatever is prepared keeps the movie's own version, in the shell's content or itself.
        lumora::PreparedMovie prepared;
        try {
            prepared = lumora::prepareMovie(swf, lumora::SwfPatchOptions{loop, {}});
        } catch (const lumora::SwfError&) {
            LUMORA_FUZZ_CHECK(info->avm2); // only for want of an ActionScript 3 shell
            continue;
        }
        const QByteArray& content = prepared.content.isEmpty() ? prepared.movie : prepared.content;
        const std::optional<lumora::SwfInfo> kept = lumora::readSwfInfo(content);
        LUMORA_FUZZ_CHECK(kept.has_value());
        checkSame(*info, *kept);
        LUMORA_FUZZ_CHECK(lumora::readSwfInfo(prepared.movie).has_value());
    }
    return 0;
}
