#include "gbk.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <stdexcept>

namespace lumora {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv cannot convert between GBK and UTF-8");
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of in; calls onBad(out) and skips badLength bytes where a sequence fails.
    template <typename OnBad>
    std::string run(std::string_view in, std::size_t badLength, OnBad onBad) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // the converter is reused
        std::string out;
        out.reserve(in.size() * 2);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        std::array<char, 4096> buf;
        while (srcLeft > 0) {
            char* dst = buf.data();
            std::size_t dstLeft = buf.size();
            const std::size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf.data(), buf.size() - dstLeft);
            if (rc != std::size_t(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (truncated sequence at the end): replace and skip.
            onBad(out);
            const std::size_t skip = std::min(badLength, srcLeft);
            src += skip;
            srcLeft -= skip;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_cd;
};

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

// Opening a converter costs far more than most conversions (settings are read key by key), so
// each thread keeps one per direction; run() leaves it in its initial state.
Converter& gbkToUtf8() {
    thread_local Converter conv("UTF-8", "GBK");
    return conv;
}

Converter& utf8ToGbk() {
    thread_local Converter conv("GBK", "UTF-8");
    return conv;
}

} // namespace

QString fromGbk(std::string_view bytes) {
    const std::string utf8 =
        gbkToUtf8().run(bytes, 1, [](std::string& out) { out += "\xEF\xBF\xBD"; });
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

std::string toGbk(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const std::string_view all(utf8.constData(), std::size_t(utf8.size()));
    Converter& conv = utf8ToGbk();
    bool failed = false;
    std::string out = conv.run(all, all.size(), [&](std::string&) { failed = true; });
    if (!failed)
        return out;
    // Some character has no GBK form: convert character by character, '?' for those.
    out.clear();
    for (std::size_t i = 0; i < all.size();) {
        const std::size_t len =
            std::min(utf8SequenceLength(static_cast<unsigned char>(all[i])), all.size() - i);
        bool bad = false;
        const std::string part =
            conv.run(all.substr(i, len), len, [&](std::string&) { bad = true; });
        out += bad ? std::string("?") : part;
        i += len;
    }
    return out;
}

} // namespace lumora
