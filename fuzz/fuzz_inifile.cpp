#include "fuzzcheck.h"
#include "inifile.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

// Names the client uses, Chinese among them, in other cases too: lookups ignore ASCII case.
const QStringList kSections = {QStringLiteral("Config"), QStringLiteral("LOCALSET"),
                               QStringLiteral("本地设置"), QStringLiteral("section")};
const QStringList kKeys = {QStringLiteral("Version"), QStringLiteral("url"),
                           QStringLiteral("用户名"), QStringLiteral("KEY")};
// Characters of written values: the INI syntax, blanks, quotes, line breaks and GBK text.
const QString kValueChars = QStringLiteral("a=[];#\"' \t\r\n朱镕基中文");

struct Pair {
    QString section;
    QString key;
};

// The value of a key, nothing when the key is missing.
std::optional<QString> read(const lumora::IniFile& ini, const Pair& p) {
    if (!ini.hasKey(p.section, p.key))
        return std::nullopt;
    return ini.value(p.section, p.key, {});
}

std::vector<Pair> allPairs() {
    std::vector<Pair> pairs;
    for (const QString& section : kSections)
        for (const QString& key : kKeys)
            pairs.push_back({section, key});
    return pairs;
}

} // namespace

// Input: a settings file (GBK bytes). The last bytes choose the key written and its value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::vector<Pair> pairs = allPairs();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const lumora::IniFile ini = lumora::IniFile::parse(bytes);

    std::vector<std::optional<QString>> before;
    for (const Pair& p : pairs) {
        before.push_back(read(ini, p));
        // A missing key reads as the fallback.
        if (!before.back())
            LUMORA_FUZZ_CHECK(ini.value(p.section, p.key, QStringLiteral("?!")) ==
                              QStringLiteral("?!"));
    }
    // Parsing what we write back gives the same settings.
    const lumora::IniFile same = lumora::IniFile::parse(ini.bytes());
    for (std::size_t i = 0; i < pairs.size(); ++i)
        LUMORA_FUZZ_CHECK(read(same, pairs[i]) == before[i]);

    // The value is fenced by "<" and ">" so trimming and unquoting leave it whole.
    const std::size_t chosen = size ? data[size - 1] % pairs.size() : 0;
    QString inner;
    for (std::size_t i = 0; i < size && i < 24; ++i)
        inner += kValueChars[data[i] % kValueChars.size()];
    const QString written = QLatin1Char('<') + inner + QLatin1Char('>');
    QString expected = written;
    expected.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));

    lumora::IniFile changed = lumora::IniFile::parse(bytes);
    changed.setValue(pairs[chosen].section, pairs[chosen].key, written);
    const lumora::IniFile reread = lumora::IniFile::parse(changed.bytes());
    LUMORA_FUZZ_CHECK(read(reread, pairs[chosen]) == expected);
    // Every other setting keeps its value.
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (i != chosen)
            LUMORA_FUZZ_CHECK(read(reread, pairs[i]) == before[i]);
    }
    return 0;
}
