#include "support/swftestmovie.h"

#include "swffile.h"

#include <QDir>
#include <QFile>

#include <lzma.h>
#include <zlib.h>

namespace lumora::test {

namespace {

void appendU16(QByteArray& out, quint16 value) {
    out.append(char(value & 0xff)).append(char(value >> 8));
}

void appendU32(QByteArray& out, quint32 value) {
    appendU16(out, quint16(value & 0xffff));
    appendU16(out, quint16(value >> 16));
}

// Stage rectangle 0..3200 x 0..2400 twips in 15-bit fields: 5 + 60 bits, 9 bytes.
QByteArray stageRect() {
    const int bits = 15;
    const qint64 fields[] = {0, 160 * 20, 0, 120 * 20};
    QByteArray out(9, '\0');
    int pos = 0;
    auto put = [&](qint64 value, int width) {
        for (int i = width - 1; i >= 0; --i, ++pos)
            if ((value >> i) & 1)
                out[pos / 8] = char(out[pos / 8] | (0x80 >> (pos % 8)));
    };
    put(bits, 5);
    for (qint64 field : fields)
        put(field, bits);
    return out;
}

} // namespace

QByteArray swfTag(int code, const QByteArray& body, bool longForm) {
    QByteArray out;
    if (longForm || body.size() >= 0x3f) {
        appendU16(out, quint16(code << 6 | 0x3f));
        appendU32(out, quint32(body.size()));
    } else {
        appendU16(out, quint16(code << 6 | body.size()));
    }
    return out + body;
}

QByteArray swfMovie(int version, bool compressed, quint16 frames, const QList<QByteArray>& tags) {
    QByteArray body = stageRect();
    appendU16(body, 12 << 8); // 12.0 frames a second
    appendU16(body, frames);
    for (const QByteArray& tag : tags)
        body += tag;
    body += swfTag(0);
    QByteArray file = compressed ? "CWS" : "FWS";
    file.append(char(version));
    appendU32(file, quint32(8 + body.size()));
    if (!compressed)
        return file + body;
    QByteArray packed(int(compressBound(uLong(body.size()))), '\0');
    uLongf packedSize = uLongf(packed.size());
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
             reinterpret_cast<const Bytef*>(body.constData()), uLong(body.size()));
    return file + packed.left(qsizetype(packedSize));
}

QByteArray swfLzma(const QByteArray& file) {
    const swf::SwfMovie movie = swf::decodeMovie(file);
    const QByteArray body = movie.data.mid(swf::kFileHeaderSize);
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 6);
    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_alone_encoder(&stream, &options) != LZMA_OK)
        return {};
    QByteArray alone(int(body.size() + body.size() / 2 + 1024), '\0');
    stream.next_in = reinterpret_cast<const uint8_t*>(body.constData());
    stream.avail_in = size_t(body.size());
    stream.next_out = reinterpret_cast<uint8_t*>(alone.data());
    stream.avail_out = size_t(alone.size());
    const lzma_ret result = lzma_code(&stream, LZMA_FINISH);
    alone.truncate(qsizetype(stream.total_out));
    lzma_end(&stream);
    if (result != LZMA_STREAM_END)
        return {};
    // .lzma: 5 property bytes, 8 size bytes, the stream; SWF keeps the properties and the
    // stream behind the packed length.
    constexpr int kProperties = 5;
    constexpr int kAloneHeader = 13;
    QByteArray out = "ZWS";
    out.append(file[3]);
    appendU32(out, quint32(movie.data.size()));
    appendU32(out, quint32(alone.size() - kAloneHeader));
    return out + alone.left(kProperties) + alone.mid(kAloneHeader);
}

std::vector<std::pair<int, QByteArray>> swfTags(const QByteArray& file) {
    const swf::SwfMovie movie = swf::decodeMovie(file);
    std::vector<std::pair<int, QByteArray>> tags;
    swf::walkTags(movie.data, movie.tagsOffset, [&](const swf::SwfTag& tag) {
        tags.emplace_back(tag.code, movie.data.mid(tag.offset + tag.headerSize, tag.length));
        return true;
    });
    return tags;
}

QString swfSampleDir() {
    return QStringLiteral(LUMORA_SWF_SAMPLES);
}

QByteArray swfSample(const QString& name) {
    QFile file(QDir(swfSampleDir()).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace lumora::test
