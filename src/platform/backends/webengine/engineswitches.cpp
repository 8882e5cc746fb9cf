#include "engineswitches.h"

#include <QByteArray>
#include <QtGlobal>

namespace lumora {

namespace {

// Adds a switch unless the user's own flags already set it.
void addSwitch(QByteArray& flags, const QByteArray& name, const QByteArray& value = {}) {
    if (flags.contains(name))
        return;
    if (!flags.isEmpty())
        flags += ' ';
    flags += value.isEmpty() ? name : name + '=' + value;
}

} // namespace

void addWebEngineSwitches() {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    // The service's panes (the status bar, the channel's pane, the audio page) come from one
    // site: they share one renderer instead of each holding its own (about 17 MB less). The
    // Flash host's page is not of that site and keeps its renderer to itself.
    addSwitch(flags, "--process-per-site");
    // The emulator's WebAssembly is compiled a function at a time, when first called: a movie
    // uses a small part of it, and the Flash page's renderer held all of it twice over
    // (30-50 MB less).
    addSwitch(flags, "--js-flags", "--wasm-lazy-compilation");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

} // namespace lumora
