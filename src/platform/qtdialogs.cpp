#include "qtdialogs.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include <stdexcept>

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
} // namespace

std::unique_ptr<FlashInstance> RuffleFlashFactory::create() {
    const QFileInfo script(m_appDir + QStringLiteral("ruffle/ruffle.js"));
    if (!script.isFile() || !script.isReadable())
        throw std::runtime_error("the Flash player control is not installed");
    return std::make_unique<RuffleFiles>();
}

} // namespace lumora
