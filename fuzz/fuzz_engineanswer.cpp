#include "fuzzcheck.h"
#include "requests.h"

#include <QString>

#include <cstdint>

// Input: the engine's answer to a programme request, UTF-8.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString answer = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<std::int32_t> number = lumora::engineNumberFromAnswer(answer);
    if (!number)
        return 0;
    // A number needs the marker and the four characters of the extension after it.
    const qsizetype marker = answer.indexOf(QStringLiteral("P2P/"));
    LUMORA_FUZZ_CHECK(marker >= 0);
    LUMORA_FUZZ_CHECK(answer.size() - marker >= 4 + 1 + 4);
    // The same number in a well-formed address reads back unchanged.
    const QString address = QStringLiteral("http://127.0.0.1:1/P2P/%1.flv").arg(*number);
    const std::optional<std::int32_t> again = lumora::engineNumberFromAnswer(address);
    LUMORA_FUZZ_CHECK(again && *again == *number);
    return 0;
}
