#include "moviefetch.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace lumora {

MovieFetch::~MovieFetch() {
    cancel();
}

void MovieFetch::cancel() {
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void MovieFetch::fetch(const QUrl& url, bool remote, Done done) {
    cancel();
    if (!remote) {
        QFile file(url.toLocalFile());
        if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxMovieBytes)
            return done(std::nullopt);
        return done(file.readAll());
    }
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > kMaxMovieBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [reply, done = std::move(done)] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError)
            return done(std::nullopt);
        done(reply->readAll());
    });
}

} // namespace lumora
