#include "flvplayer.h"

#include "rounding.h"

#include <QRegularExpression>
#include <QUrl>

#include <optional>

namespace lumora {

namespace {

// The external-interface requests the player movie answers.
const QString kPlayPauseRequest = QStringLiteral(
    R"(<invoke name="sendEvent"><arguments><string>playpause</string></arguments></invoke>)");
const QString kSeekRequestHead =
    QStringLiteral(R"(<invoke name="sendEvent"><arguments><string>position</string><number>)");
const QString kSeekRequestTail = QStringLiteral("</number></arguments></invoke>");
const QString kDurationRequest = QStringLiteral(R"(<invoke name="getDuration"></invoke>)");
const QString kPositionRequest = QStringLiteral(R"(<invoke name="getPosition"></invoke>)");
const QString kPlayStateRequest = QStringLiteral(R"(<invoke name="getPlayState"></invoke>)");

constexpr int kTimeError = 0;
constexpr int kPlayStateError = -1;

// Decimal text with a point, optionally signed and with an exponent, blanks around it allowed.
// Checked first because QString::toDouble also takes "inf", "nan" and group separators.
std::optional<int> readNumber(const QString& text) {
    static const QRegularExpression decimal(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    if (!decimal.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return roundHalfEven(value);
}

int askNumber(ExternalInterfaceCaller& flash, const QString& request, int errorValue) {
    const Outcome<QString> reply = flash.CallFunction(request);
    if (!reply)
        return errorValue;
    return readNumber(stripNumberTags(*reply)).value_or(errorValue);
}

void send(ExternalInterfaceCaller& flash, const QString& request) {
    // A movie that does not answer leaves the video as it was.
    (void)flash.CallFunction(request);
}

} // namespace

void flvPlayPause(ExternalInterfaceCaller& flash) {
    send(flash, kPlayPauseRequest);
}

void flvSeek(ExternalInterfaceCaller& flash, int seconds) {
    send(flash, kSeekRequestHead + QString::number(seconds) + kSeekRequestTail);
}

int flvGetDuration(ExternalInterfaceCaller& flash) {
    return askNumber(flash, kDurationRequest, kTimeError);
}

int flvGetPosition(ExternalInterfaceCaller& flash) {
    return askNumber(flash, kPositionRequest, kTimeError);
}

int flvGetPlayState(ExternalInterfaceCaller& flash) {
    return askNumber(flash, kPlayStateRequest, kPlayStateError);
}

std::optional<MoviePlayState> flvMoviePlayState(ExternalInterfaceCaller& flash) {
    const int state = flvGetPlayState(flash);
    if (state < int(MoviePlayState::Stopped) || state > int(MoviePlayState::Paused))
        return std::nullopt;
    return MoviePlayState(state);
}

QString flvPlayerVars(const QString& file) {
    return QStringLiteral("file=") + QString::fromLatin1(QUrl::toPercentEncoding(file, "/:")) +
           QStringLiteral("&overstretch=true&showdigits=true&autostart=true&showplayerbar=true"
                          "&callback=true&enablejs=true&streamscript=http://");
}

QString stripNumberTags(const QString& reply) {
    QString text = reply.toLower();
    text.remove(QStringLiteral("<number>"));
    text.remove(QStringLiteral("</number>"));
    return text;
}

} // namespace lumora
