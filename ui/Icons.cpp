#include "ui/Icons.h"

#include <QFile>
#include <QImage>
#include <QPixmap>

namespace norvale {

QIcon AppIcon() {
    QIcon icon;
    for (const char* path : {kIconPath, kIcon48Path, kIcon128Path}) {
        if (QFile::exists(QString::fromLatin1(path))) {
            icon.addFile(QString::fromLatin1(path));
        }
    }
    return icon;
}

QPixmap AppIconPixmap() {
    return QPixmap(QString::fromLatin1(kIconPath));
}

QCursor HandCursor() {
    // Decoded once; every link shares the same image. A QImage (unlike a
    // QPixmap) may outlive the application object.
    static const QImage hand(QString::fromLatin1(kHandCursorPath));
    if (hand.isNull()) {
        return QCursor(Qt::PointingHandCursor);
    }
    return QCursor(QPixmap::fromImage(hand), 0, 0);
}

} // namespace norvale
