// Renders the Moon of every phase day 0 ... 28 in the Northern and Southern
// views into one PNG (docs/contact-sheet.png), each cell cut from a 135 x 156
// panel and labelled with its phase day.
//
// Usage: norvale_contact_sheet OUT.png

#include "picture/Fonts.h"
#include "picture/Panel.h"
#include "picture/Shading.h"
#include "picture/Textures.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

using namespace norvale;

constexpr int Columns = 10;
constexpr int DiskCell = 119; // the disk (111) plus a 4-pixel border
constexpr int LabelHeight = 14;
constexpr int CellHeight = DiskCell + LabelHeight;
constexpr int HeadingHeight = 22;
constexpr int PhaseDays = 29;
constexpr int RowsPerView = (PhaseDays + Columns - 1) / Columns;

QImage MoonCell(int phaseDay, bool northern) {
    QImage panel(PanelWidth, PanelHeight, QImage::Format_RGB32);
    panel.fill(Qt::black);
    PixelBuffer buffer{reinterpret_cast<std::uint32_t*>(panel.bits()), panel.width(),
                       panel.height(), static_cast<std::int32_t>(panel.bytesPerLine() / 4)};
    PictureGeometry geometry = ComputeGeometry(PanelWidth, PanelHeight);
    DrawMoon(buffer, geometry, phaseDay, northern, BuiltInTextures());
    const PixelRect& disk = geometry.m_moonRect;
    return panel.copy(disk.left - 4, disk.top - 4, DiskCell, DiskCell);
}

void DrawView(QPainter& painter, int top, bool northern) {
    painter.setPen(Qt::white);
    painter.drawText(QRect(6, top, Columns * DiskCell, HeadingHeight),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     northern ? QStringLiteral("Northern view, phase days 0-28")
                              : QStringLiteral("Southern view, phase days 0-28"));
    for (int p = 0; p < PhaseDays; ++p) {
        const int x = (p % Columns) * DiskCell;
        const int y = top + HeadingHeight + (p / Columns) * CellHeight;
        painter.drawImage(x, y, MoonCell(p, northern));
        painter.drawText(QRect(x, y + DiskCell, DiskCell, LabelHeight), Qt::AlignCenter,
                         QString::number(p));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    const int viewHeight = HeadingHeight + RowsPerView * CellHeight;
    QImage sheet(Columns * DiskCell, 2 * viewHeight, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    QPainter painter(&sheet);
    painter.setFont(CreateStyledFont(1, -11, QStringLiteral("Tahoma")));
    DrawView(painter, 0, true);
    DrawView(painter, viewHeight, false);
    painter.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
