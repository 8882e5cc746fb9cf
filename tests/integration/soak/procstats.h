#pragma once

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <cstdint>

namespace lumora::test {

// Resident memory of this process in bytes (from /proc/self/statm), -1 when unreadable.
inline std::int64_t residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    bool ok = false;
    const std::int64_t pages = fields.size() > 1 ? fields[1].toLongLong(&ok) : 0;
    return ok ? pages * ::sysconf(_SC_PAGESIZE) : -1;
}

// Open file descriptors of this process, the listing's own included.
inline int openDescriptors() {
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

} // namespace lumora::test
