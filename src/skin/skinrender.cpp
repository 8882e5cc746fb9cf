// Build tool: renders one SVG picture to a PNG of the SVG's own size, or of a whole multiple of
// it for screens of a higher pixel density.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int scale = argc == 4 ? std::atoi(argv[3]) : 1;
    if ((argc != 3 && argc != 4) || scale < 1) {
        std::fprintf(stderr, "usage: skinrender IN.svg OUT.png [SCALE]\n");
        return 2;
    }
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    const QSize size = renderer.defaultSize() * scale;
    if (!renderer.isValid() || size.isEmpty()) {
        std::fprintf(stderr, "skinrender: cannot read %s\n", argv[1]);
        return 1;
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "skinrender: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
