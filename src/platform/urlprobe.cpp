#include "urlprobe.h"

#include <QUrl>

#include <algorithm>

namespace lumora {

namespace {

const QString kPlainScheme = QStringLiteral("http://");
const QString kSecureScheme = QStringLiteral("https://");
// The longest address browsers of the platform accept; anything longer is not a site page.
constexpr qsizetype kMaxAddressLength = 2083;

bool hasControlCharacter(const QString& address) {
    return std::any_of(address.begin(), address.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

} // namespace

QString probeAddress(const QString& address) {
    const QString lower = address.toLower();
    if (lower.contains(kPlainScheme) || lower.startsWith(kSecureScheme))
        return address;
    return kPlainScheme + address;
}

std::optional<QByteArray> requestAddress(const QString& address) {
    const QString target = probeAddress(address);
    if (hasControlCharacter(target))
        return std::nullopt;
    const QUrl url(target, QUrl::TolerantMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    QByteArray encoded = url.toEncoded(QUrl::RemoveFragment);
    if (encoded.size() > kMaxAddressLength)
        return std::nullopt;
    return encoded;
}

} // namespace lumora
