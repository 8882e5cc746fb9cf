#include "tempdir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace lumora::test {

TempDir::TempDir() {
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary directory");
}

QString TempDir::path() const {
    return m_dir.path() + QLatin1Char('/');
}

QString TempDir::file(const QString& relative) const {
    return path() + relative;
}

void TempDir::write(const QString& relative, const QByteArray& bytes) const {
    const QString full = file(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + full.toStdString());
}

QByteArray TempDir::read(const QString& relative) const {
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + file(relative).toStdString());
    return f.readAll();
}

bool TempDir::exists(const QString& relative) const {
    return QFileInfo::exists(file(relative));
}

void TempDir::age(const QString& relative, qint64 seconds) const {
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadWrite) ||
        !f.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                       QFileDevice::FileModificationTime))
        throw std::runtime_error("cannot age " + file(relative).toStdString());
}

} // namespace lumora::test
