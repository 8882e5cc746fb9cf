// Time from asking to a fully loaded movie (Ruffle's metadata and ready state 2), through the
// control and through a bare Ruffle page, for a first movie and for switching to a second one.
// Whichever runs first also pays for starting the web engine: both orders are measured.
// Usage: bench_flash [movie.swf] (without one, ffmpeg makes a 120-frame movie).
#include "ruffleflashcontrol.h"
#include "volume.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWebEnginePage>
#include <QWidget>

#include <cstdio>
#include <functional>

namespace {

bool waitUntil(const std::function<bool()>& done, int timeoutMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return true;
}

QVariant evaluate(QWebEnginePage& page, const QString& script) {
    QVariant result;
    bool done = false;
    page.runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    waitUntil([&] { return done; });
    return result;
}

const char* kBarePage = R"(<!DOCTYPE html><html><body style="margin:0">
<script src="ruffle.js"></script><div id="stage" style="width:320px;height:240px"></div>
<script>
window.meta = false;
window.loaded = () => window.meta && player.ruffle().readyState === 2;
const player = window.RufflePlayer.newest().createPlayer();
player.style.width = "100%"; player.style.height = "100%";
player.addEventListener("loadedmetadata", () => { window.meta = true; });
document.getElementById("stage").appendChild(player);
window.play = (b64) => { window.meta = false;
  fetch("data:application/octet-stream;base64," + b64).then(r => r.arrayBuffer())
    .then(b => player.ruffle().load({ data: new Uint8Array(b), autoplay: "on",
        splashScreen: false, unmuteOverlay: "hidden" })); };
</script></body></html>)";

// Milliseconds to a loaded movie on the bare page: first with the page load, then a switch.
std::pair<qint64, qint64> bare(const QString& ruffleDir, const QByteArray& first,
                               const QByteArray& second) {
    QWebEnginePage page;
    QElapsedTimer clock;
    clock.start();
    bool pageLoaded = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool) { pageLoaded = true; });
    page.setHtml(QString::fromUtf8(kBarePage), QUrl::fromLocalFile(ruffleDir + "/"));
    waitUntil([&] { return pageLoaded; });
    auto playAndWait = [&](const QByteArray& swf) {
        page.runJavaScript("play('" + QString::fromLatin1(swf.toBase64()) + "')");
        waitUntil([&] { return evaluate(page, "window.loaded()").toBool(); });
    };
    playAndWait(first);
    const qint64 firstMs = clock.restart();
    playAndWait(second);
    return {firstMs, clock.elapsed()};
}

std::pair<qint64, qint64> control(const QString& ruffleDir, const QString& first,
                                  const QString& second) {
    lumora::ProgramVolume volume;
    QElapsedTimer clock;
    clock.start();
    lumora::RuffleFlashControl flash(ruffleDir, volume);
    flash.widget()->resize(320, 240);
    flash.widget()->show();
    auto playAndWait = [&](const QString& path) {
        flash.setMovie(path);
        flash.setLoop(false);
        waitUntil([&] { return flash.readyState() == lumora::FlashControl::kReadyStateLoaded; });
    };
    playAndWait(first);
    const qint64 firstMs = clock.restart();
    playAndWait(second);
    return {firstMs, clock.elapsed()};
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QString movie = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath("movie.swf");
    if (argc <= 1 &&
        QProcess::execute("ffmpeg",
                          {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=12",
                           "-frames:v", "120", "-c:v", "flv1", "-f", "swf", movie}) != 0) {
        std::fprintf(stderr, "ffmpeg could not make a movie\n");
        return 1;
    }
    QFile file(movie);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    const QString second = dir.filePath("second.swf");
    QFile::copy(movie, second);
    const QString ruffleDir = qEnvironmentVariable("LUMORA_RUFFLE_DIR", LUMORA_RUFFLE_BUILD_DIR);

    for (const bool controlFirst : {false, true}) {
        std::pair<qint64, qint64> flash;
        std::pair<qint64, qint64> plain;
        if (controlFirst)
            flash = control(ruffleDir, movie, second);
        plain = bare(ruffleDir, bytes, bytes);
        if (!controlFirst)
            flash = control(ruffleDir, movie, second);
        std::printf("%s first:\n", controlFirst ? "control" : "bare page");
        std::printf("  first movie:  control %lld ms, bare Ruffle %lld ms, ratio %.2f\n",
                    static_cast<long long>(flash.first), static_cast<long long>(plain.first),
                    double(flash.first) / std::max<qint64>(plain.first, 1));
        std::printf("  second movie: control %lld ms, bare Ruffle %lld ms, ratio %.2f\n",
                    static_cast<long long>(flash.second), static_cast<long long>(plain.second),
                    double(flash.second) / std::max<qint64>(plain.second, 1));
    }
    return 0;
}
