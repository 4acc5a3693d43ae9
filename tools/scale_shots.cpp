// Screenshots of the main window's Moon picture at the screen scale of the
// environment (QT_SCALE_FACTOR on Qt's offscreen platform), and sheets that
// set them side by side for docs/picture.md.
//
// Usage: norvale_scale_shots --shot OUT.png
//          the real window with the clock fixed at 2026-12-20 20:00 (TZ=UTC
//          gives that local time) and star seed 7; OUT.png is the picture's
//          own device pixels
//        norvale_scale_shots --tooltip OUT.png
//          the same window with the picture's tooltip shown, the tooltip
//          beside the window
//        norvale_scale_shots --sheet OUT.png IN.png...
//          the shots side by side at their own size, each labelled with its
//          size in device pixels
//        norvale_scale_shots --enlarged OUT.png FACTOR WHOLE.png SHOT.png
//          a part of the limb and the text rows of SHOT.png (drawn at the
//          device scale FACTOR) enlarged 4 times with nearest neighbours,
//          under the same parts of WHOLE.png (the picture drawn at scale 1 or
//          2) scaled to the device size with nearest neighbours, as the window
//          used to show it (scale 1 below 1.5, scale 2 from 1.5)

#include "app/NorvaleDlg.h"
#include "core/Clock.h"
#include "panel/PanelDraw.h"
#include "shading/DeviceScale.h"

#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace norvale;

constexpr std::int64_t ShotSecond = 1797796800; // 2026-12-20 20:00:00 UTC
constexpr int Gap = 12;
constexpr int LabelHeight = 16;
const QColor Backdrop(64, 64, 64);

int Shot(const char* out, bool tooltip) {
    QTemporaryDir settings; // the window never writes the user's settings
    if (!settings.isValid()) {
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", QDir::toNativeSeparators(settings.path()).toLocal8Bit());
    ClockSeam() = [] { return ShotSecond; };
    CNorvaleDlg dlg;
    dlg.m_moonImage.SetStarSeedSource([] { return 7u; });
    dlg.Create();
    if (!QTest::qWaitForWindowExposed(&dlg)) {
        std::fprintf(stderr, "the window was never shown\n");
        return 1;
    }
    if (tooltip) {
        const QPoint at(60, 60);
        QHelpEvent help(QEvent::ToolTip, at, dlg.m_moonImage.mapToGlobal(at));
        QApplication::sendEvent(&dlg.m_moonImage, &help);
        QWidget* tip = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            tip = w->inherits("QTipLabel") && w->isVisible() ? w : tip;
        }
        if (tip == nullptr) {
            std::fprintf(stderr, "no tooltip\n");
            return 1;
        }
        const QImage window = dlg.grab().toImage();
        const QImage label = tip->grab().toImage();
        QImage both(window.width() + Gap + label.width(), std::max(window.height(), label.height()),
                    QImage::Format_RGB32);
        both.fill(Backdrop);
        QPainter p(&both);
        p.drawImage(0, 0, window);
        p.drawImage(window.width() + Gap, 0, label);
        p.end();
        dlg.EndDialog(0);
        return both.save(QString::fromLocal8Bit(out)) ? 0 : 1;
    }
    const QImage shot = dlg.m_moonImage.grab().toImage().convertToFormat(QImage::Format_RGB32);
    dlg.EndDialog(0);
    std::printf("%s: %d x %d device pixels at a scale of %g\n", out, shot.width(), shot.height(),
                dlg.m_moonImage.devicePixelRatioF());
    QImage plain = shot;
    plain.setDevicePixelRatio(1.0);
    return plain.save(QString::fromLocal8Bit(out)) ? 0 : 1;
}

QImage Labelled(const QImage& image, const QString& label, int width) {
    QImage cell(width, image.height() + LabelHeight, QImage::Format_RGB32);
    cell.fill(Backdrop);
    QPainter p(&cell);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, width, LabelHeight - 2), Qt::AlignLeft | Qt::AlignVCenter, label);
    p.drawImage(0, LabelHeight, image);
    return cell;
}

int Sheet(const char* out, const std::vector<QImage>& shots, const QStringList& labels) {
    int width = Gap;
    int height = 0;
    for (const QImage& s : shots) {
        width += s.width() + Gap;
        height = std::max(height, s.height() + LabelHeight);
    }
    QImage sheet(width, height + 2 * Gap, QImage::Format_RGB32);
    sheet.fill(Backdrop);
    QPainter p(&sheet);
    int x = Gap;
    for (std::size_t i = 0; i < shots.size(); ++i) {
        p.drawImage(x, Gap, Labelled(shots[i], labels[static_cast<int>(i)], shots[i].width()));
        x += shots[i].width() + Gap;
    }
    p.end();
    return sheet.save(QString::fromLocal8Bit(out)) ? 0 : 1;
}

QImage Load(const char* path) {
    QImage image(QString::fromLocal8Bit(path));
    image.setDevicePixelRatio(1.0);
    return image.convertToFormat(QImage::Format_RGB32);
}

// The part of a picture drawn at scale that shows the logical rectangle
// (x, y, w, h), enlarged `by` times with nearest neighbours.
QImage Crop(const QImage& image, double scale, QRect logical, int by) {
    const QRect device(DeviceCoordinate(logical.x(), scale), DeviceCoordinate(logical.y(), scale),
                       DeviceLength(logical.width(), scale), DeviceLength(logical.height(), scale));
    const QImage part = image.copy(device);
    return part.scaled(part.size() * by, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

int Enlarged(const char* out, double scale, const QImage& whole, const QImage& shot) {
    // The old way: a whole-scale picture scaled to the device size, nearest.
    const QImage stretched =
        whole.scaled(shot.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QString before = QStringLiteral("%1x picture scaled with nearest neighbours (before)")
                               .arg(whole.width() / PanelWidth);
    constexpr int By = 4;
    const QRect limb(90, 60, 40, 40);  // the lit limb on the right
    const QRect text(0, 116, 135, 40); // the three lines
    std::vector<QImage> rows;
    for (const auto& [picture, name] :
         {std::pair{stretched, before},
          std::pair{shot, QStringLiteral("drawn at the device size")}}) {
        const QImage a = Crop(picture, scale, limb, By);
        const QImage b = Crop(picture, scale, text, By);
        QImage row(a.width() + Gap + b.width(), std::max(a.height(), b.height()),
                   QImage::Format_RGB32);
        row.fill(Backdrop);
        QPainter p(&row);
        p.drawImage(0, 0, a);
        p.drawImage(a.width() + Gap, 0, b);
        p.end();
        rows.push_back(Labelled(
            row, name + QStringLiteral(" at %1, enlarged %2x").arg(scale).arg(By), row.width()));
    }
    int height = Gap;
    int width = 0;
    for (const QImage& r : rows) {
        height += r.height() + Gap;
        width = std::max(width, r.width() + 2 * Gap);
    }
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Backdrop);
    QPainter p(&sheet);
    int y = Gap;
    for (const QImage& r : rows) {
        p.drawImage(Gap, y, r);
        y += r.height() + Gap;
    }
    p.end();
    return sheet.save(QString::fromLocal8Bit(out)) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--shot") == 0) {
        return Shot(argv[2], false);
    }
    if (argc == 3 && std::strcmp(argv[1], "--tooltip") == 0) {
        return Shot(argv[2], true);
    }
    if (argc >= 4 && std::strcmp(argv[1], "--sheet") == 0) {
        std::vector<QImage> shots;
        QStringList labels;
        for (int i = 3; i < argc; ++i) {
            shots.push_back(Load(argv[i]));
            labels
                << QStringLiteral("%1 x %2").arg(shots.back().width()).arg(shots.back().height());
        }
        return Sheet(argv[2], shots, labels);
    }
    if (argc == 6 && std::strcmp(argv[1], "--enlarged") == 0) {
        return Enlarged(argv[2], QByteArray(argv[3]).toDouble(), Load(argv[4]), Load(argv[5]));
    }
    std::fprintf(stderr, "usage: norvale_scale_shots --shot OUT.png\n"
                         "       norvale_scale_shots --tooltip OUT.png\n"
                         "       norvale_scale_shots --sheet OUT.png IN.png...\n"
                         "       norvale_scale_shots --enlarged OUT.png FACTOR ONE.png SHOT.png\n");
    return 2;
}
