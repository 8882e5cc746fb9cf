#include "flvclip.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace lumora::test {

namespace {

QString ffmpeg() {
    return QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
}

} // namespace

bool haveFfmpeg() {
    return !ffmpeg().isEmpty();
}

bool makeFlvClip(const QString& file, const QSize& size, double seconds) {
    const QString pattern =
        QStringLiteral("testsrc=size=%1x%2:rate=25").arg(size.width()).arg(size.height());
    QProcess make;
    make.start(ffmpeg(), {"-loglevel",
                          "error",
                          "-y",
                          "-f",
                          "lavfi",
                          "-i",
                          pattern,
                          "-f",
                          "lavfi",
                          "-i",
                          "sine=frequency=440",
                          "-t",
                          QString::number(seconds),
                          "-c:v",
                          "flv1",
                          "-c:a",
                          "libmp3lame",
                          "-ar",
                          "44100",
                          file});
    return make.waitForFinished(60000) && make.exitStatus() == QProcess::NormalExit &&
           make.exitCode() == 0 && QFileInfo::exists(file);
}

} // namespace lumora::test
