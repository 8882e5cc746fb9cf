#include "flvplayer.h"
#include "fuzzcheck.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace {

// Answers every request with the fuzz input, or fails like a movie that does not answer.
class FakeCaller : public lumora::ExternalInterfaceCaller {
public:
    FakeCaller(QString reply, bool fails) : m_reply(std::move(reply)), m_fails(fails) {}
    lumora::Outcome<QString> CallFunction(const QString&) override {
        if (m_fails)
            return lumora::Failure{QStringLiteral("no answer")};
        return m_reply;
    }

private:
    QString m_reply;
    bool m_fails;
};

// "-?[0-9]{1,9}" as a number; anything else (blanks included) gives nothing.
std::optional<int> plainInteger(const QString& text) {
    const qsizetype digits = text.size() - (text.startsWith(QLatin1Char('-')) ? 1 : 0);
    if (digits < 1 || digits > 9)
        return std::nullopt;
    int value = 0;
    for (qsizetype i = text.size() - digits; i < text.size(); ++i) {
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (text[i].unicode() - u'0');
    }
    return digits == text.size() ? value : -value;
}

} // namespace

// Input: the movie's reply, UTF-8.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString reply = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString stripped = lumora::stripNumberTags(reply);
    LUMORA_FUZZ_CHECK(stripped.size() <= reply.toLower().size());

    FakeCaller answering(reply, false);
    const int duration = lumora::flvGetDuration(answering);
    const int position = lumora::flvGetPosition(answering);
    const int state = lumora::flvGetPlayState(answering);
    // The three getters read the same reply, so they agree except for their error values.
    if (state != -1 || duration != 0)
        LUMORA_FUZZ_CHECK(duration == state);
    LUMORA_FUZZ_CHECK(duration == position);
    lumora::flvPlayPause(answering);
    lumora::flvSeek(answering, int(size) - 64);

    // A reply of a whole number in tags reads back as that number.
    if (const std::optional<int> whole = plainInteger(stripped))
        LUMORA_FUZZ_CHECK(duration == *whole);

    FakeCaller failing(reply, true);
    LUMORA_FUZZ_CHECK(lumora::flvGetDuration(failing) == 0);
    LUMORA_FUZZ_CHECK(lumora::flvGetPosition(failing) == 0);
    LUMORA_FUZZ_CHECK(lumora::flvGetPlayState(failing) == -1);
    lumora::flvPlayPause(failing);
    lumora::flvSeek(failing, 1);
    return 0;
}
