#include "commandline.h"

#include "config.h"
#include "edition.h"

namespace lumora {

InfoRequest infoRequest(const QStringList& arguments) {
    if (arguments.size() < 2)
        return InfoRequest::None;
    const QString& first = arguments.at(1);
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return InfoRequest::Help;
    if (first == QLatin1String("--version"))
        return InfoRequest::Version;
    return InfoRequest::None;
}

QString helpText(const QString& programDir) {
    QString text = QStringLiteral(
        "lumora-channel: the children's learning channel client. It shows the channel's catalogue\n"
        "and plays its Flash movies, videos and audio.\n\n"
        "Usage: lumora-channel [-START | --help | --version]\n"
        "  -START     start without showing the window (any case, first argument only)\n"
        "  --help     show this text\n"
        "  --version  show the program file's version and its edition\n"
        "Other arguments are ignored.\n\n"
        "The edition is the build number, the fourth part of the program file's version:\n");
    for (const Edition& e : allEditions()) {
        const QString code = e.code ? QString::number(e.code) : QStringLiteral("other");
        text += QStringLiteral("  %1  %2\n").arg(code, 5).arg(QString::fromUtf8(e.appTitle));
    }
    text += QStringLiteral("\nSettings live beside the program file:\n");
    for (const QString& file : {ini::LocalIni, ini::PlatformIni, ini::SourceIni})
        text += QStringLiteral("  %1%2\n").arg(programDir, file);
    return text;
}

QString versionText(const std::optional<FileVersion>& version) {
    return QStringLiteral("lumora-channel %1 %2\n")
        .arg(getVersionString(version),
             QString::fromUtf8(editionFor(getEditionCode(version)).appTitle));
}

} // namespace lumora
