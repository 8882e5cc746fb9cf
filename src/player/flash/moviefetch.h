#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace lumora {

// Reads a movie's bytes from a local file or an http(s) address, one movie at a time: a new
// fetch drops the one under way. Movies over the size bound are refused.
class MovieFetch : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kMaxMovieBytes = 256 << 20;
    // The bytes, or nothing when the movie cannot be read.
    using Done = std::function<void(std::optional<QByteArray> bytes)>;

    using QObject::QObject;
    ~MovieFetch() override;

    // A local file answers before this returns; a remote one from the event loop.
    void fetch(const QUrl& url, bool remote, Done done);
    void cancel();

private:
    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
};

} // namespace lumora
