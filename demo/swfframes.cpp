// swfframes IN OUT FRAMES: writes the movie IN with its main timeline padded to FRAMES frames
// by empty frames, so that a compiled one-frame movie gets a timeline to play through.
#include "swffile.h"

#include <QFile>

#include <cstdio>

using namespace lumora::swf;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: swfframes IN OUT FRAMES\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    QFile out(QString::fromLocal8Bit(argv[2]));
    const int frames = std::atoi(argv[3]);
    if (frames < 1 || frames > 0xffff || !in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "swfframes: bad frame count or unreadable input\n");
        return 1;
    }
    try {
        SwfMovie movie = decodeMovie(in.readAll());
        int showFrames = 0;
        qsizetype endAt = movie.data.size();
        walkTags(movie.data, movie.tagsOffset, [&](const SwfTag& tag) {
            showFrames += tag.code == kTagShowFrame;
            if (tag.code == kTagEnd)
                endAt = tag.offset;
            return true;
        });
        const QByteArray showFrame = makeTag(kTagShowFrame, {});
        movie.data.insert(endAt, showFrame.repeated(std::max(frames - showFrames, 0)));
        movie.data[movie.tagsOffset - 2] = char(frames & 0xff);
        movie.data[movie.tagsOffset - 1] = char(frames >> 8);
        if (!out.open(QIODevice::WriteOnly) ||
            out.write(encodeMovie(movie.data, movie.info.compressed)) < 0)
            return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "swfframes: %s\n", e.what());
        return 1;
    }
    return 0;
}
