#include "shell.h"

namespace lumora {

std::optional<QUrl> externalAddress(const QString& address) {
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QUrl url = QUrl::fromUserInput(trimmed);
    // Other schemes (a chat program's own, say) go to the handler the desktop has for them.
    if (!url.isValid() || url.scheme().isEmpty() || url.isLocalFile())
        return std::nullopt;
    return url;
}

} // namespace lumora
