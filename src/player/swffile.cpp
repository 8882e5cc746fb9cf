#include "swffile.h"

#include <lzma.h>
#include <zlib.h>

#include <functional>
#include <limits>

namespace lumora::swf {

namespace {

constexpr qsizetype kLongTagMarker = 0x3f;
constexpr unsigned char kFileAttributesAs3 = 0x08;
constexpr int kTwipsPerPixel = 20;

quint32 readU32(const QByteArray& data, qsizetype at) {
    auto byte = [&](qsizetype i) { return quint32(quint8(data[at + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

quint16 readU16(const QByteArray& data, qsizetype at) {
    return quint16(quint8(data[at]) | quint8(data[at + 1]) << 8);
}

void writeU32(QByteArray& data, qsizetype at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        data[at + i] = char((value >> (8 * i)) & 0xff);
}

// Decompresses into a buffer that grows with what the stream really produces, up to limit
// bytes: the declared size is the file's own claim, and a small file claiming a huge body
// costs no more than it holds. step(out, room) fills at most room bytes at out and answers
// how many, and whether the stream goes on.
struct Step {
    qsizetype written;
    bool more;
};
QByteArray growingOutput(qsizetype limit, const std::function<Step(char*, qsizetype)>& step) {
    constexpr qsizetype kFirstChunk = 64 * 1024;
    QByteArray out(std::min(limit, kFirstChunk), Qt::Uninitialized);
    qsizetype produced = 0;
    for (bool more = true; more;) {
        if (produced == out.size()) {
            if (out.size() == limit)
                break;
            out.resize(std::min(limit, out.size() * 2));
        }
        const Step done = step(out.data() + produced, out.size() - produced);
        produced += done.written;
        more = done.more;
    }
    out.truncate(produced);
    return out;
}

QByteArray inflateBody(const QByteArray& file, qsizetype bodySize) {
    if (file.size() - kFileHeaderSize > std::numeric_limits<uInt>::max())
        throw SwfError("compressed movie too large");
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        throw SwfError("zlib initialisation failed");
    stream.next_in =
        reinterpret_cast<Bytef*>(const_cast<char*>(file.constData())) + kFileHeaderSize;
    stream.avail_in = uInt(file.size() - kFileHeaderSize);
    int result = Z_OK;
    // One byte of room beyond the declared size tells a longer stream from an exact one.
    const QByteArray body = growingOutput(bodySize + 1, [&](char* out, qsizetype room) {
        stream.next_out = reinterpret_cast<Bytef*>(out);
        stream.avail_out = uInt(room);
        result = inflate(&stream, Z_NO_FLUSH);
        return Step{room - qsizetype(stream.avail_out), result == Z_OK};
    });
    inflateEnd(&stream);
    if (body.size() > bodySize)
        throw SwfError("compressed body does not match the declared length");
    if (result != Z_STREAM_END)
        throw SwfError("compressed body damaged or truncated");
    if (body.size() != bodySize)
        throw SwfError("compressed body does not match the declared length");
    return body;
}

// An LZMA body: compressed length (4 bytes), the 5 LZMA property bytes, then the stream.
// liblzma reads it as an .lzma file once the properties are followed by the inflated size.
QByteArray decodeLzmaBody(const QByteArray& file, qsizetype bodySize) {
    constexpr qsizetype kPackedAt = kFileHeaderSize;
    constexpr qsizetype kPropertiesAt = kPackedAt + 4;
    constexpr qsizetype kStreamAt = kPropertiesAt + 5;
    constexpr uint64_t kMemoryLimit = 512u << 20; // the dictionary a lying header may ask for
    if (file.size() < kStreamAt)
        throw SwfError("LZMA header truncated");
    QByteArray alone = file.mid(kPropertiesAt, 5);
    for (int i = 0; i < 8; ++i)
        alone.append(char((quint64(bodySize) >> (8 * i)) & 0xff));
    alone += file.mid(kStreamAt);

    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_alone_decoder(&stream, kMemoryLimit) != LZMA_OK)
        throw SwfError("LZMA initialisation failed");
    stream.next_in = reinterpret_cast<const uint8_t*>(alone.constData());
    stream.avail_in = size_t(alone.size());
    lzma_ret result = LZMA_OK;
    const QByteArray body = growingOutput(bodySize, [&](char* out, qsizetype room) {
        stream.next_out = reinterpret_cast<uint8_t*>(out);
        stream.avail_out = size_t(room);
        result = lzma_code(&stream, LZMA_FINISH);
        return Step{room - qsizetype(stream.avail_out), result == LZMA_OK};
    });
    lzma_end(&stream);
    // With the size known the stream may end without its marker; what counts is the length.
    if (body.size() != bodySize || (result != LZMA_OK && result != LZMA_STREAM_END))
        throw SwfError("LZMA body damaged or truncated");
    return body;
}

// The stage rectangle: 5 bits giving the field width, then xmin, xmax, ymin, ymax.
struct StageRect {
    qint64 width = 0;
    qint64 height = 0;
    qsizetype end = 0;
};

StageRect readRect(const QByteArray& data, qsizetype at) {
    if (at >= data.size())
        throw SwfError("header truncated");
    const int bits = quint8(data[at]) >> 3;
    const qsizetype bytes = (5 + 4 * bits + 7) / 8;
    if (at + bytes > data.size())
        throw SwfError("header truncated");
    qsizetype bitPos = 5;
    auto field = [&]() {
        qint64 value = 0;
        for (int i = 0; i < bits; ++i, ++bitPos) {
            const int bit = (quint8(data[at + bitPos / 8]) >> (7 - bitPos % 8)) & 1;
            value = (value << 1) | bit;
        }
        if (bits > 0 && (value >> (bits - 1)) & 1)
            value -= qint64(1) << bits; // sign extension
        return value;
    };
    const qint64 xMin = field();
    const qint64 xMax = field();
    const qint64 yMin = field();
    const qint64 yMax = field();
    return {(xMax - xMin) / kTwipsPerPixel, (yMax - yMin) / kTwipsPerPixel, at + bytes};
}

} // namespace

SwfMovie decodeMovie(const QByteArray& file) {
    if (file.size() < kFileHeaderSize)
        throw SwfError("not a Flash movie");
    const QByteArray signature = file.left(3);
    const bool lzma = signature == "ZWS";
    if (signature != "FWS" && signature != "CWS" && !lzma)
        throw SwfError("not a Flash movie");
    const bool compressed = signature != "FWS";
    const qsizetype declared = readU32(file, 4);
    if (declared < kFileHeaderSize || declared > kMaxMovieSize)
        throw SwfError("declared movie length out of range");

    SwfMovie movie;
    if (compressed) {
        const qsizetype bodySize = declared - kFileHeaderSize;
        movie.data = file.left(kFileHeaderSize) +
                     (lzma ? decodeLzmaBody(file, bodySize) : inflateBody(file, bodySize));
        movie.data[0] = 'F';
    } else {
        if (file.size() < declared)
            throw SwfError("movie truncated");
        movie.data = file.left(declared); // bytes past the declared length are not the movie's
    }

    const StageRect rect = readRect(movie.data, kFileHeaderSize);
    if (rect.end + 4 > movie.data.size())
        throw SwfError("header truncated");
    const quint16 rate = readU16(movie.data, rect.end);
    movie.info = SwfInfo{quint8(file[3]),
                         compressed,
                         lzma,
                         false,
                         readU16(movie.data, rect.end + 2),
                         (rate >> 8) + (rate & 0xff) / 256.0,
                         int(rect.width),
                         int(rect.height)};
    movie.tagsOffset = rect.end + 4;
    walkTags(movie.data, movie.tagsOffset, [&](const SwfTag& tag) {
        if (tag.code == kTagFileAttributes && tag.length > 0 &&
            (quint8(movie.data[tag.offset + tag.headerSize]) & kFileAttributesAs3))
            movie.info.avm2 = true;
        if (tag.code == kTagDoAbc || tag.code == kTagDoAbcDefine)
            movie.info.avm2 = true;
        return true;
    });
    return movie;
}

void walkTags(const QByteArray& data, qsizetype from,
              const std::function<bool(const SwfTag&)>& visit) {
    qsizetype pos = from;
    while (pos < data.size()) {
        if (data.size() - pos < 2)
            throw SwfError("tag header truncated");
        const quint16 codeAndLength = readU16(data, pos);
        SwfTag tag{codeAndLength >> 6, pos, 2, codeAndLength & kLongTagMarker};
        if (tag.length == kLongTagMarker) {
            if (data.size() - pos < 6)
                throw SwfError("tag header truncated");
            tag.headerSize = 6;
            tag.length = readU32(data, pos + 2);
        }
        if (tag.length > data.size() - pos - tag.headerSize)
            throw SwfError("tag runs past the end of the movie");
        if (!visit(tag) || tag.code == kTagEnd)
            return;
        pos = tag.end();
    }
}

QByteArray encodeMovie(const QByteArray& data, bool compressed) {
    if (data.size() < kFileHeaderSize || data.size() > std::numeric_limits<quint32>::max())
        throw SwfError("movie size out of range");
    QByteArray header = data.left(kFileHeaderSize);
    writeU32(header, 4, quint32(data.size()));
    if (!compressed) {
        header[0] = 'F';
        return header + data.mid(kFileHeaderSize);
    }
    header[0] = 'C';
    const auto bodySize = uLong(data.size() - kFileHeaderSize);
    QByteArray out(kFileHeaderSize + qsizetype(compressBound(bodySize)), Qt::Uninitialized);
    uLongf outSize = uLongf(out.size() - kFileHeaderSize);
    const int result = compress2(reinterpret_cast<Bytef*>(out.data()) + kFileHeaderSize, &outSize,
                                 reinterpret_cast<const Bytef*>(data.constData()) + kFileHeaderSize,
                                 bodySize, Z_DEFAULT_COMPRESSION);
    if (result != Z_OK)
        throw SwfError("compression failed");
    out.truncate(kFileHeaderSize + qsizetype(outSize));
    out.replace(0, kFileHeaderSize, header);
    return out;
}

QByteArray makeTag(int code, const QByteArray& body) {
    QByteArray tag;
    const bool isLong = body.size() >= kLongTagMarker;
    const quint16 head = quint16(code << 6 | (isLong ? kLongTagMarker : body.size()));
    tag.append(char(head & 0xff)).append(char(head >> 8));
    if (isLong) {
        tag.append(4, '\0');
        writeU32(tag, 2, quint32(body.size()));
    }
    return tag + body;
}

} // namespace lumora::swf
