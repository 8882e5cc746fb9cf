#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace lumora::test::iniwriter {

// The keys the settings file is created with, all rewritten in turn by the writer.
inline const QStringList kKeys = {"1", "6", "7", "8", "9", "10", "11", "12"};
inline const QString kSection = QStringLiteral("Info");
// The writer prints this once its first write is on disk.
inline constexpr char kReady = 'R';

// Write number n's value: its number at both ends and a filler of varying length between, so
// that a value cut short or mixed with another write's does not match its own pattern.
inline QString valueFor(std::uint64_t n) {
    const QString number = QString::number(n);
    return number + QLatin1Char(':') + QString(int(n % 97), QLatin1Char('x')) + QLatin1Char(':') +
           number;
}

// Whether text is one complete value of the writer.
inline bool isWriterValue(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return false;
    bool ok = false;
    const std::uint64_t n = parts[0].toULongLong(&ok);
    return ok && text == valueFor(n);
}

} // namespace lumora::test::iniwriter
