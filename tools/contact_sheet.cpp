// Renders the Moon of every phase day 0 ... 28 in the Northern and Southern
// views into one PNG (docs/contact-sheet.png), each cell cut from a 135 x 156
// panel and labelled with its phase day.
//
// Usage: norvale_contact_sheet OUT.png
//        norvale_contact_sheet --hidpi OUT.png
// The second form writes one panel twice side by side: the 1x picture blown
// up to twice its size, and the picture drawn at a device pixel ratio of 2.

#include "core/DateValue.h"
#include "picture/Panel.h"
#include "shading/Shading.h"
#include "shading/Textures.h"
#include "ui/Fonts.h"

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

QImage HiDpiComparison() {
    DateValue date;
    date.FromFields(2026, 12, 20, 12, 0, 0);
    const QImage one = RenderPanelImage(PanelWidth, PanelHeight, date, true, 1);
    QImage two = RenderPanelImage(PanelWidth, PanelHeight, date, true, 1, 2);
    two.setDevicePixelRatio(1.0);
    QImage both(4 * PanelWidth + 8, 2 * PanelHeight, QImage::Format_RGB32);
    both.fill(QColor(60, 60, 60));
    QPainter painter(&both);
    painter.drawImage(QRect(0, 0, 2 * PanelWidth, 2 * PanelHeight), one);
    painter.drawImage(QPoint(2 * PanelWidth + 8, 0), two);
    return both;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--hidpi") == 0) {
        return HiDpiComparison().save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s [--hidpi] OUT.png\n", argv[0]);
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
