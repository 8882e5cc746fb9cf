#include "moviesource.h"

#include "support/tempdir.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace lumora {
namespace {

QByteArray header(const char* signature, quint32 length) {
    QByteArray bytes(signature, 3);
    bytes.append(char(6));
    char size[4];
    qToLittleEndian(length, size);
    return bytes.append(size, 4);
}

// A plain movie of the given total length: header, then filler.
QByteArray plainSwf(quint32 length) {
    return header("FWS", length).append(QByteArray(length - 8, '\x11'));
}

QByteArray zlibSwf(const QByteArray& plain) {
    // qCompress puts a 4-byte length before the zlib stream.
    return header("CWS", plain.size()).append(qCompress(plain.mid(8)).mid(4));
}

TEST(SwfState, TellsWholeFromTruncatedAndForeign) {
    const QByteArray plain = plainSwf(300);
    const QByteArray packed = zlibSwf(plain);
    QByteArray lzma = header("ZWS", 300);
    char packedSize[4];
    qToLittleEndian(quint32(20), packedSize);
    lzma.append(packedSize, 4).append(QByteArray(5 + 20, '\0'));
    const struct {
        const char* what;
        QByteArray bytes;
        SwfState state;
    } cases[] = {
        {"plain", plain, SwfState::Complete},
        {"plain with trailing bytes", plain + "xx", SwfState::Complete},
        {"plain cut", plain.left(299), SwfState::Truncated},
        {"zlib", packed, SwfState::Complete},
        {"zlib cut", packed.left(packed.size() - 3), SwfState::Truncated},
        {"zlib longer than declared", header("CWS", 100).append(packed.mid(8)),
         SwfState::Truncated},
        {"zlib garbage", header("CWS", 300).append("not zlib at all"), SwfState::Truncated},
        {"lzma", lzma, SwfState::Complete},
        {"lzma cut", lzma.left(lzma.size() - 1), SwfState::Truncated},
        {"empty", QByteArray(), SwfState::NotSwf},
        {"short", QByteArray("FWS"), SwfState::NotSwf},
        {"html", QByteArray("<html><body>404</body></html>"), SwfState::NotSwf},
        {"length below the header", header("FWS", 4), SwfState::NotSwf},
        {"absurd length", header("FWS", 0xFFFFFFFFu), SwfState::NotSwf},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(swfState(c.bytes), c.state);
    }
}

TEST(MovieSource, SplitsLocalPathsAndParameters) {
    test::TempDir dir;
    dir.write("flvplayer.swf", "x");
    dir.write("odd?name.swf", "x");

    MovieSource blank = resolveMovie(dir.path() + "flvplayer.swf?file=0.swf");
    EXPECT_EQ(blank.url, QUrl::fromLocalFile(dir.path() + "flvplayer.swf"));
    EXPECT_EQ(blank.query, "file=0.swf");
    EXPECT_EQ(blank.base, QUrl::fromLocalFile(dir.path()));
    EXPECT_FALSE(blank.remote);

    MovieSource odd = resolveMovie(dir.path() + "odd?name.swf");
    EXPECT_EQ(odd.url, QUrl::fromLocalFile(dir.path() + "odd?name.swf"));
    EXPECT_TRUE(odd.query.isEmpty());

    MovieSource fileUrl = resolveMovie(QUrl::fromLocalFile(dir.path() + "a b.swf").toString());
    EXPECT_EQ(fileUrl.url, QUrl::fromLocalFile(dir.path() + "a b.swf"));

    EXPECT_TRUE(resolveMovie("").url.isEmpty());
    EXPECT_TRUE(resolveMovie("?file=0.swf").url.isEmpty());
}

TEST(MovieSource, KeepsRemoteAddressesWhole) {
    MovieSource remote = resolveMovie("http://127.0.0.1:5123/P2P/3.swf?a=1%262");
    EXPECT_TRUE(remote.remote);
    EXPECT_EQ(remote.url, QUrl("http://127.0.0.1:5123/P2P/3.swf"));
    EXPECT_EQ(remote.query, "a=1%262");
    EXPECT_EQ(remote.base, QUrl("http://127.0.0.1:5123/P2P/"));
    EXPECT_TRUE(resolveMovie("http://").url.isEmpty());
}

TEST(MovieSource, QueryComesBeforeFlashVars) {
    EXPECT_EQ(movieParameters("file=0.swf", ""), "file=0.swf");
    EXPECT_EQ(movieParameters("", "file=/a.flv&autostart=true"), "file=/a.flv&autostart=true");
    EXPECT_EQ(movieParameters("a=1", "b=2"), "a=1&b=2");
}

} // namespace
} // namespace lumora
