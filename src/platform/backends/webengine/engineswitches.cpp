#include "engineswitches.h"

#include <QByteArray>
#include <QtGlobal>

namespace lumora {

void addWebEngineSwitches() {
    // The service's panes (the status bar, the channel's pane, the audio page) come from one
    // site: they share one renderer instead of each holding its own (about 17 MB less). The
    // Flash host's page is not of that site and keeps its renderer to itself.
    static constexpr char kPerSite[] = "--process-per-site";
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains(kPerSite))
        return;
    if (!flags.isEmpty())
        flags += ' ';
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + kPerSite);
}

} // namespace lumora
