// Time from asking to a movie's first frame, through the control and through a bare Ruffle page,
// for a first movie and for switching to a second one (through the control, the median and the
// worst of several switches). On the bare page that is Ruffle's metadata
// and ready state 2; through the control, the movie itself answering its frame count (in a shell,
// once the content is in). Whichever runs first also pays for starting the web engine: both
// orders are measured, for a movie instrumented in place (version 9), the same movie at
// version 6 (ActionScript 1/2 shell) and, when given, an ActionScript 3 movie (its shell).
// Last, whether Ruffle starts a movie before it has all its bytes: the bare page loads the movie
// from a local server that sends it slowly, and the times of its last byte, of Ruffle's metadata
// and of its first frame are compared.
// Usage: bench_flash [movie.swf|"" [as3movie.swf]] (without one, ffmpeg makes a 120-frame movie).
#include "ruffleflashcontrol.h"
#include "swfpatch.h"
#include "volume.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

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
window.playUrl = (url) => { window.meta = false;
  player.ruffle().load({ url: url, autoplay: "on", splashScreen: false, unmuteOverlay: "hidden" }); };
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

// Serves one file to each request, a slice every 50 ms so that it takes about durationMs.
class SlowServer {
public:
    SlowServer(QByteArray body, int durationMs) : m_body(std::move(body)) {
        m_slice = std::max<qsizetype>(m_body.size() * 50 / durationMs, 1);
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { serve(); });
    }
    QString url() const {
        return QStringLiteral("http://127.0.0.1:%1/movie.swf").arg(m_server.serverPort());
    }
    qint64 lastByteAt() const { return m_lastByteAt; } // on clock(), -1 until sent

    QElapsedTimer clock;

private:
    void serve() {
        QTcpSocket* socket = m_server.nextPendingConnection();
        auto* timer = new QTimer(socket);
        auto sent = std::make_shared<qsizetype>(0);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [=, this] {
            if (timer->isActive() || !socket->readAll().contains("\r\n\r\n"))
                return;
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/x-shockwave-flash\r\n"
                          "Access-Control-Allow-Origin: *\r\nConnection: close\r\n"
                          "Content-Length: " +
                          QByteArray::number(m_body.size()) + "\r\n\r\n");
            timer->start(50);
        });
        QObject::connect(timer, &QTimer::timeout, socket, [=, this] {
            socket->write(m_body.mid(*sent, m_slice));
            *sent += m_slice;
            if (*sent >= m_body.size()) {
                timer->stop();
                socket->flush();
                m_lastByteAt = clock.elapsed();
                socket->disconnectFromHost();
            }
        });
    }

    QTcpServer m_server;
    QByteArray m_body;
    qsizetype m_slice;
    qint64 m_lastByteAt = -1;
};

// Milliseconds from asking to the last byte sent, to Ruffle's metadata and to its first frame.
struct Streamed {
    qint64 lastByte, meta, loaded;
};
Streamed streamed(const QString& ruffleDir, const QByteArray& movie, int durationMs) {
    QWebEnginePage page;
    // The page is a local file; the movie comes from the local server.
    page.settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    bool pageLoaded = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool) { pageLoaded = true; });
    page.setHtml(QString::fromUtf8(kBarePage), QUrl::fromLocalFile(ruffleDir + "/"));
    waitUntil([&] { return pageLoaded; });
    SlowServer server(movie, durationMs);
    server.clock.start();
    page.runJavaScript("playUrl('" + server.url() + "')");
    Streamed times{-1, -1, -1};
    waitUntil(
        [&] {
            if (times.meta < 0 && evaluate(page, "window.meta").toBool())
                times.meta = server.clock.elapsed();
            if (evaluate(page, "window.loaded()").toBool()) {
                times.loaded = server.clock.elapsed();
                if (times.meta < 0) // it came between the two questions
                    times.meta = times.loaded;
            }
            return times.loaded >= 0;
        },
        durationMs + 20000);
    times.lastByte = server.lastByteAt();
    return times;
}

// Through the control: the first movie, then the next movie kSwitches times (the two in turn),
// as a playlist goes on. One switch alone says more about the machine's other work than about
// the control, so the switches are summed up by their median and their worst.
constexpr int kSwitches = 5;
struct ControlTimes {
    qint64 first, nextMedian, nextWorst;
};
ControlTimes control(const QString& ruffleDir, const QString& first, const QString& second) {
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
        return clock.restart();
    };
    ControlTimes times{playAndWait(first), 0, 0};
    std::vector<qint64> next;
    for (int i = 0; i < kSwitches; ++i)
        next.push_back(playAndWait(i % 2 == 0 ? second : first));
    std::sort(next.begin(), next.end());
    times.nextMedian = next[next.size() / 2];
    times.nextWorst = next.back();
    return times;
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
            ControlTimes flash{};
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
            std::printf(
                "  second movie: control %lld ms, bare Ruffle %lld ms, ratio %.2f, worst of "
                "%d %lld ms\n",
                static_cast<long long>(flash.nextMedian), static_cast<long long>(plain.second),
                double(flash.nextMedian) / std::max<qint64>(plain.second, 1), kSwitches,
                static_cast<long long>(flash.nextWorst));
        }
    }
    // A movie sent over three seconds: Ruffle's own fetch of a movie's address.
    const Streamed slow = streamed(ruffleDir, bytes, 3000);
    std::printf("streamed movie (%lld KB over about 3 s): last byte at %lld ms, metadata at %lld "
                "ms, first frame at %lld ms\n",
                static_cast<long long>(bytes.size() / 1024), static_cast<long long>(slow.lastByte),
                static_cast<long long>(slow.meta), static_cast<long long>(slow.loaded));
    return 0;
}
