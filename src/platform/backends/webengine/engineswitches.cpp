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
    // (30-50 MB less). A function is compiled again, optimised, once it has run a while: after
    // a hundredth of the engine's usual while, so that a movie at rest is not still optimising
    // a function every second, a minute after it stopped (a fifth of its processor time). The
    // quotes keep the two as one switch.
    addSwitch(flags, "--js-flags", "\"--wasm-lazy-compilation --wasm-tiering-budget=18000\"");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    // The engine's helpers allocate from the C library. Each of their threads would get an
    // arena of its own, and each arena keeps what its thread freed after the movie's start-up
    // (the compiler's scratch memory among it): with one arena for all, the Flash page's renderer
    // measured 160-175 MB, against 155-200 with an arena a thread. The helpers inherit the
    // variable; a value the user set stays.
    if (!qEnvironmentVariableIsSet("MALLOC_ARENA_MAX"))
        qputenv("MALLOC_ARENA_MAX", "1");
}

} // namespace lumora
