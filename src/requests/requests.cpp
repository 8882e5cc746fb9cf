#include "requests.h"

#include "conversionfailure.h"
#include "des.h"
#include "numbertext.h"

#include <utility>

namespace lumora {

namespace {
const QString kEngineMarker = QStringLiteral("P2P/");
constexpr qsizetype kAnswerExtensionLength = 4;
constexpr std::int32_t kFolderSize = 128;
// Passed to the engine with every programme; their meaning is the engine's business.
constexpr std::int32_t kEngineArgument = 2;

// The text between the first marker and the answer's last four characters; empty if none.
QStringView engineNumberText(QStringView answer) {
    const qsizetype marker = answer.indexOf(kEngineMarker);
    if (marker < 0)
        return {};
    const qsizetype first = marker + kEngineMarker.size();
    const qsizetype end = answer.size() - kAnswerExtensionLength;
    return end > first ? answer.mid(first, end - first) : QStringView();
}
} // namespace

QString typeExtension(const QString& type) {
    const std::optional<std::int32_t> code = parseInt32(type);
    if (!code)
        return {};
    // Compared in canonical form, so "01" is a Flash movie like "1".
    const QString canonical = QString::number(*code);
    const std::pair<const QString&, const char*> table[] = {
        {ProgrammeType::Flash, ".swf"}, {ProgrammeType::Audio, ".mp3"},
        {ProgrammeType::Text, ".txt"},  {ProgrammeType::Video, ".flv"},
        {ProgrammeType::Rar, ".rar"},   {ProgrammeType::Zip, ".zip"}};
    for (const auto& [typeCode, extension] : table) {
        if (typeCode == canonical)
            return QString::fromLatin1(extension);
    }
    return {};
}

QString programmeFolder(std::int32_t id) {
    // Integer division truncates towards zero, which is already the ceiling for id <= 0.
    const std::int64_t folder = id > 0 ? (std::int64_t(id) + kFolderSize - 1) / kFolderSize
                                       : std::int64_t(id) / kFolderSize;
    return QString::number(folder);
}

QString downloadAddress(const QString& urlDownload, std::int32_t id, const QString& type) {
    const std::string cipher = EncryptHex(std::to_string(id), ProgrammeKey);
    return urlDownload + programmeFolder(id) + QLatin1Char('/') + QString::fromLatin1(cipher) +
           typeExtension(type);
}

std::optional<std::int32_t> engineNumberFromAnswer(QStringView answer) {
    const std::optional<std::int64_t> number = parseInt64(engineNumberText(answer));
    if (!number)
        return std::nullopt;
    // Only the low 32 bits are kept (two's complement wrap).
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*number));
}

Done requestProgramme(TLumoraPlay& record, Engine& engine, const QString& urlDownload) {
    record.name.replace(QStringLiteral("%20"), QStringLiteral(" "));
    const Outcome<std::int32_t> id = toInt32(record.id);
    if (!id)
        return id.failure();
    record.downUrl = downloadAddress(urlDownload, *id, record.type);

    QString answer;
    if (!engine.SetProgramInfo(record.downUrl, *id, kEngineArgument, kEngineArgument, answer))
        return {};
    const std::optional<std::int32_t> engineNo = engineNumberFromAnswer(answer);
    if (!engineNo)
        return conversionFailure(engineNumberText(answer));
    record.engineNo = *engineNo;
    record.playUrl = answer;
    return {};
}

} // namespace lumora
