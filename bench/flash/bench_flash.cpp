// Time from asking to a movie's first frame, through the control and through a bare Ruffle page,
// for a first movie and for switching to a second one. On the bare page that is Ruffle's metadata
// and ready state 2; through the control, the movie itself answering its frame count (in a shell,
// once the content is in). Whichever runs first also pays for starting the web engine: both
// orders are measured, for a movie instrumented in place (version 9), the same movie at
// version 6 (ActionScript 1/2 shell) and, when given, an ActionScript 3 movie (its shell).
// Usage: bench_flash [movie.swf|"" [as3movie.swf]] (without one, ffmpeg makes a 120-frame movie).
#include "ruffleflashcontrol.h"
#include "swfpatch.h"
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
    const QString askTotal = QStringLiteral("<invoke name=\"%1\" returntype=\"xml\"></invoke>")
                                 .arg(lumora::kSwfCallbackTotal);
    auto answers = [&] {
        const lumora::Outcome<QString> total = flash.CallFunction(askTotal);
        return total && *total != "<number>0</number>";
    };
    auto playAndWait = [&](const QString& path) {
        flash.setMovie(path);
        flash.setLoop(false);
        waitUntil([&] {
            return flash.readyState() == lumora::FlashReadyState::Complete && flash.framesExact() &&
                   answers();
        });
    };
    playAndWait(first);
    const qint64 firstMs = clock.restart();
    playAndWait(second);
    return {firstMs, clock.elapsed()};
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString made = dir.filePath("movie.swf");
    const bool given = argc > 1 && argv[1][0] != '\0'; // "" asks for the made one
    if (!given && QProcess::execute("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i",
                                               "testsrc=size=160x120:rate=12", "-frames:v", "120",
                                               "-c:v", "flv1", "-f", "swf", made}) != 0) {
        std::fprintf(stderr, "ffmpeg could not make a movie\n");
        return 1;
    }
    const QByteArray bytes = readFile(given ? QString::fromLocal8Bit(argv[1]) : made);
    if (bytes.size() < 8)
        return 1;
    QByteArray old = bytes;
    old[3] = 6; // the same video movie, published for Flash 6
    QList<std::pair<const char*, QByteArray>> kinds{{"in place", bytes},
                                                    {"ActionScript 1/2 shell", old}};
    if (argc > 2)
        kinds.append({"ActionScript 3 shell", readFile(QString::fromLocal8Bit(argv[2]))});
    const QString ruffleDir = qEnvironmentVariable("LUMORA_RUFFLE_DIR", LUMORA_RUFFLE_BUILD_DIR);

    for (const auto& [kind, movie] : kinds) {
        const QString first = dir.filePath("first.swf");
        const QString second = dir.filePath("second.swf");
        writeFile(first, movie);
        writeFile(second, movie);
        for (const bool controlFirst : {false, true}) {
            std::pair<qint64, qint64> flash;
            std::pair<qint64, qint64> plain;
            if (controlFirst)
                flash = control(ruffleDir, first, second);
            plain = bare(ruffleDir, movie, movie);
            if (!controlFirst)
                flash = control(ruffleDir, first, second);
            std::printf("%s, %s first:\n", kind, controlFirst ? "control" : "bare page");
            std::printf("  first movie:  control %lld ms, bare Ruffle %lld ms, ratio %.2f\n",
                        static_cast<long long>(flash.first), static_cast<long long>(plain.first),
                        double(flash.first) / std::max<qint64>(plain.first, 1));
            std::printf("  second movie: control %lld ms, bare Ruffle %lld ms, ratio %.2f\n",
                        static_cast<long long>(flash.second), static_cast<long long>(plain.second),
                        double(flash.second) / std::max<qint64>(plain.second, 1));
        }
    }
    return 0;
}
