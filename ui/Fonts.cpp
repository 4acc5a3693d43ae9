#include "ui/Fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>

#include <mutex>

namespace norvale {

namespace {

// Narrow enough that the panel's longest lines fit 130 pixels at 10 pixels.
const QString FallbackFace = QStringLiteral("DejaVu Sans Condensed");

void ApplyStyle(QFont& font, int style) {
    const bool bold = style == 1 || style == 3;
    const bool italic = style == 2 || style == 3;
    const bool underline = style == 4;
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(false);
}

// A positive height asks for a cell (ascent + descent) of that many pixels:
// the largest pixel size whose cell is no taller.
int PixelSizeForCell(const QFont& base, int cellHeight) {
    QFont probe = base;
    for (int size = cellHeight; size > 1; --size) {
        probe.setPixelSize(size);
        if (QFontMetrics(probe).height() <= cellHeight) {
            return size;
        }
    }
    return 1;
}

} // namespace

namespace {

QString ResolveFace(const QString& face) {
    if (QFontDatabase::hasFamily(face)) {
        return face;
    }
    if (face.compare(QStringLiteral("Tahoma"), Qt::CaseInsensitive) == 0) {
        return FallbackFace;
    }
    return face;
}

} // namespace

QString ResolvedFontFace(const QString& face) {
    // Asking the font database is a fontconfig search; the installed fonts do
    // not change while the program runs, so each face is resolved once.
    static std::mutex mutex;
    static QHash<QString, QString> resolved;
    const std::lock_guard lock(mutex);
    auto it = resolved.constFind(face);
    if (it == resolved.constEnd()) {
        it = resolved.insert(face, ResolveFace(face));
    }
    return *it;
}

QFont CreateStyledFont(int style, int height, const QString& face) {
    QFont font(ResolvedFontFace(face));
    font.setStyleHint(QFont::SansSerif);
    ApplyStyle(font, style);
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        font.setPixelSize(PixelSizeForCell(font, height));
    }
    return font;
}

QFont DialogFont() {
    return CreateStyledFont(0, -11, QStringLiteral("Tahoma"));
}

QFont LinkFont(bool underlined) {
    return CreateStyledFont(underlined ? 4 : 0, -11, QStringLiteral("Tahoma"));
}

} // namespace norvale
