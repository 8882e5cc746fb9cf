#include "moviesource.h"

#include <QFileInfo>

#include <zlib.h>

namespace lumora {
namespace {

constexpr int kHeaderSize = 8;      // signature, version, uncompressed length
constexpr int kLzmaHeaderSize = 17; // plus compressed length and LZMA properties
constexpr quint32 kMaxSwfSize = 256u << 20;

quint32 littleEndian32(const QByteArray& bytes, int at) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<quint8>(bytes[at + i]);
    return value;
}

// Inflates a zlib stream and tells whether it yields exactly `expected` bytes and ends.
bool inflatesTo(const QByteArray& stream, quint32 expected) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.constData()));
    z.avail_in = static_cast<uInt>(stream.size());
    QByteArray chunk(64 * 1024, Qt::Uninitialized);
    quint64 produced = 0;
    int result = Z_OK;
    while (result == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(chunk.data());
        z.avail_out = static_cast<uInt>(chunk.size());
        result = inflate(&z, Z_NO_FLUSH);
        produced += chunk.size() - z.avail_out;
        if (produced > expected)
            break;
        if (result == Z_BUF_ERROR && z.avail_in == 0)
            break; // the stream stops short
    }
    inflateEnd(&z);
    return result == Z_STREAM_END && produced == expected;
}

} // namespace

MovieSource resolveMovie(const QString& movie) {
    MovieSource source;
    QString location = movie.trimmed();
    const bool looksRemote = location.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
                             location.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
    if (looksRemote) {
        QUrl url(location, QUrl::StrictMode);
        if (!url.isValid() || url.host().isEmpty())
            return source;
        source.query = url.query(QUrl::FullyEncoded);
        url.setQuery(QString());
        url.setFragment(QString());
        source.url = url;
        source.base = url.resolved(QUrl(QStringLiteral(".")));
        source.remote = true;
        return source;
    }
    if (location.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        location = QUrl(location).toLocalFile() +
                   (QUrl(location).hasQuery() ? "?" + QUrl(location).query() : QString());
    // A file whose own name holds '?' wins over the reading as path plus parameters.
    QString path = location;
    const qsizetype mark = location.indexOf(QLatin1Char('?'));
    if (mark >= 0 && !QFileInfo(location).isFile()) {
        path = location.left(mark);
        source.query = location.mid(mark + 1);
    }
    if (path.isEmpty())
        return source;
    const QFileInfo info(path);
    source.url = QUrl::fromLocalFile(info.absoluteFilePath());
    source.base = QUrl::fromLocalFile(info.absolutePath() + QLatin1Char('/'));
    return source;
}

QString movieParameters(const QString& query, const QString& flashVars) {
    if (query.isEmpty())
        return flashVars;
    if (flashVars.isEmpty())
        return query;
    return query + QLatin1Char('&') + flashVars;
}

SwfState swfState(const QByteArray& bytes) {
    if (bytes.size() < kHeaderSize)
        return SwfState::NotSwf;
    const QByteArray signature = bytes.left(3);
    const quint32 length = littleEndian32(bytes, 4);
    if ((signature != "FWS" && signature != "CWS" && signature != "ZWS") || length < kHeaderSize ||
        length > kMaxSwfSize)
        return SwfState::NotSwf;
    if (signature == "FWS")
        return static_cast<quint32>(bytes.size()) >= length ? SwfState::Complete
                                                            : SwfState::Truncated;
    if (signature == "CWS")
        return inflatesTo(bytes.mid(kHeaderSize), length - kHeaderSize) ? SwfState::Complete
                                                                        : SwfState::Truncated;
    if (bytes.size() < kLzmaHeaderSize)
        return SwfState::Truncated;
    const quint64 packed = littleEndian32(bytes, kHeaderSize);
    return static_cast<quint64>(bytes.size()) >= kLzmaHeaderSize + packed ? SwfState::Complete
                                                                          : SwfState::Truncated;
}

} // namespace lumora
