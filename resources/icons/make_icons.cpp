// Draws Norvale's icon at 32, 48 and 128 pixels and the 32 x 32 hand cursor
// into PNG files. The icon uses the shapes of norvale.svg (a 100 x 100 view
// box); the cursor is drawn pixel by pixel from the table below.
//
// Usage: norvale_make_icons OUTPUT_FOLDER

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cstdio>

namespace {

struct Disc {
    double cx, cy, r;
    QColor fill;
};

void FillDisc(QPainter& p, const Disc& d) {
    p.setBrush(d.fill);
    p.drawEllipse(QPointF(d.cx, d.cy), d.r, d.r);
}

// The dark part of the Moon: the left half of the disc closed by the left
// half of the terminator ellipse, which leaves a crescent of shadow.
QPainterPath ShadowPath() {
    QPainterPath path;
    path.moveTo(54, 18);
    path.arcTo(QRectF(22, 18, 64, 64), 90, 180);   // disc, top -> left -> bottom
    path.arcTo(QRectF(40, 18, 28, 64), 270, -180); // terminator, bottom -> left -> top
    path.closeSubpath();
    return path;
}

QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);

    p.setPen(QPen(QColor(0x0d, 0x15, 0x26), 2));
    FillDisc(p, {50, 50, 48, QColor(0x1b, 0x2a, 0x4a)});
    p.setPen(Qt::NoPen);
    const QColor star(0xff, 0xff, 0xff);
    for (const Disc& d : {Disc{20, 26, 2, star}, Disc{24, 74, 1.5, star}, Disc{82, 20, 1.5, star}})
        FillDisc(p, d);
    FillDisc(p, {54, 50, 32, QColor(0xf1, 0xe9, 0xc8)});
    const QColor crater(0xd8, 0xcd, 0xa3);
    for (const Disc& d : {Disc{46, 38, 6, crater}, Disc{64, 58, 8, crater}, Disc{52, 68, 4, crater},
                          Disc{68, 36, 3.5, crater}})
        FillDisc(p, d);
    QColor shadow(0x34, 0x40, 0x5f);
    shadow.setAlphaF(0.9f);
    p.setBrush(shadow);
    p.drawPath(ShadowPath());
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Cursor 129: B black outline, W white fill, anything else transparent. The
// index finger stands at the left edge with its tip at the hot spot (0, 0).
constexpr std::array<const char*, 21> kHand = {
    ".BBBB............", "BWWWWB...........", "BWWWWB...........", "BWWWWB...........",
    "BWWWWB...........", "BWWWWB...........", "BWWWWBBBB........", "BWWWWBWWWBBBB....",
    "BWWWWBWWWBWWWBBB.", "BWWWWBWWWBWWWBWWB", "BWWWWWWWWWWWWWWWB", "BWWWWWWWWWWWWWWWB",
    "BWWWWWWWWWWWWWWWB", "BWWWWWWWWWWWWWWWB", "BWWWWWWWWWWWWWWWB", "BWWWWWWWWWWWWWWWB",
    "BWWWWWWWWWWWWWWWB", ".BWWWWWWWWWWWWWB.", "..BWWWWWWWWWWWB..", "..BWWWWWWWWWWWB..",
    "..BBBBBBBBBBBBB..",
};

QImage DrawHand() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < static_cast<int>(kHand.size()); ++y) {
        for (int x = 0; kHand[y][x] != '\0'; ++x) {
            if (kHand[y][x] == 'B')
                image.setPixel(x, y, qRgba(0, 0, 0, 255));
            else if (kHand[y][x] == 'W')
                image.setPixel(x, y, qRgba(255, 255, 255, 255));
        }
    }
    return image;
}

bool Save(const QImage& image, const QDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: norvale_make_icons OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (int size : {32, 48, 128})
        ok = Save(DrawIcon(size), dir, QStringLiteral("norvale-%1.png").arg(size)) && ok;
    ok = Save(DrawHand(), dir, QStringLiteral("hand.png")) && ok;
    return ok ? 0 : 1;
}
