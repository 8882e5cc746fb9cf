#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace lumora {

// Engine numbers are never negative, so this one matches no progress report.
inline constexpr std::int32_t kNoEngineNumber = -1;

// Type codes of catalogue entries.
namespace ProgrammeType {
inline const QString Folder = QStringLiteral("0");
inline const QString Flash = QStringLiteral("1");
inline const QString Audio = QStringLiteral("2");
inline const QString Text = QStringLiteral("3");
inline const QString Video = QStringLiteral("4");
inline const QString Rar = QStringLiteral("10");
inline const QString Zip = QStringLiteral("11");
} // namespace ProgrammeType

// One catalogue entry; shared by tree nodes, search hits and the programme being played.
struct TLumoraPlay {
    QString id;
    std::int32_t engineNo = kNoEngineNumber;
    QString pid;
    QString name;
    QString downUrl;
    QString type;
    QString playUrl;
};

using LumoraPlayPtr = std::shared_ptr<TLumoraPlay>;

} // namespace lumora
