#include "qtdialogs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include <unistd.h>

namespace lumora {

void QtDialogs::showInfo(const QString& text) {
    QMessageBox::information(nullptr, QString::fromUtf8(kHintCaption), text);
}

void QtDialogs::showPlain(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    box.exec();
}

bool QtDialogs::confirm(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok | QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

void QtDialogs::showError(const QString& text) {
    QMessageBox::critical(nullptr, QString(), text);
}

void QtShell::openUrl(const QString& address) {
    if (const auto url = externalAddress(address))
        QDesktopServices::openUrl(*url);
}

bool QtShell::startProgram(const QString& path) {
    return QProcess::startDetached(path, {}, QFileInfo(path).absolutePath());
}

namespace {
struct RuffleFiles : FlashInstance {
    void release() override {}
};

const QString kWebEngineHelper = QStringLiteral("QtWebEngineProcess");
} // namespace

QString webEngineHelperPath(const QString& fromEnvironment, const QString& libraryExecutables,
                            const QString& programDir) {
    if (!fromEnvironment.isEmpty())
        return QFileInfo::exists(fromEnvironment) ? fromEnvironment : QString();
    for (const QString& dir : {libraryExecutables, programDir}) {
        const QString candidate = dir + QLatin1Char('/') + kWebEngineHelper;
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return {};
}

bool isRunnableFile(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile() &&
           ::access(QFile::encodeName(path).constData(), X_OK) == 0;
}

Outcome<std::unique_ptr<FlashInstance>> RuffleFlashFactory::create() {
    const QFileInfo script(m_appDir + QStringLiteral("ruffle/ruffle.js"));
    if (!script.isFile() || !script.isReadable())
        return Failure{QStringLiteral("the Flash player control is not installed")};
    // Without its helper the web engine ends the program at the first pane it shows.
    const QString helper =
        webEngineHelperPath(qEnvironmentVariable("QTWEBENGINEPROCESS_PATH"),
                            QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath),
                            QCoreApplication::applicationDirPath());
    if (!isRunnableFile(helper))
        return Failure{QStringLiteral("the web engine's helper process cannot be started")};
    return std::make_unique<RuffleFiles>();
}

} // namespace lumora
