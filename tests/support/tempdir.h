#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace lumora::test {

// A temporary directory with helpers to write and read files in it.
class TempDir {
public:
    TempDir();
    QString path() const;                                               // with a trailing '/'
    QString file(const QString& relative) const;                        // path() + relative
    void write(const QString& relative, const QByteArray& bytes) const; // creates parents
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
    // Sets the file's modification time to `seconds` before now.
    void age(const QString& relative, qint64 seconds) const;

private:
    QTemporaryDir m_dir;
};

} // namespace lumora::test
