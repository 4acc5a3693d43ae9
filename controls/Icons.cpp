#include "controls/Icons.h"

#include <QFile>

namespace norvale {

QIcon AppIcon() {
    QIcon icon;
    for (const char* path : {kIconPath, kIcon48Path, kIcon128Path}) {
        if (QFile::exists(QString::fromLatin1(path)))
            icon.addFile(QString::fromLatin1(path));
    }
    return icon;
}

QPixmap AppIconPixmap() {
    return QPixmap(QString::fromLatin1(kIconPath));
}

QCursor HandCursor() {
    const QPixmap hand(QString::fromLatin1(kHandCursorPath));
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, 0, 0);
}

} // namespace norvale
