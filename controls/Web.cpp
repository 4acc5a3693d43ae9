#include "controls/Web.h"

#include <QDesktopServices>

namespace norvale {

UrlOpener& UrlOpenerSeam() {
    static UrlOpener opener;
    return opener;
}

QString MakerHost() {
    return QStringLiteral("norvale.example");
}

QUrl PageUrl(const QString& path) {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(MakerHost());
    url.setPath(path);
    url.setQuery(QString::fromLatin1(kFromQuery));
    return url;
}

QUrl HomePageUrl() {
    return PageUrl(QString());
}

bool IsWebAddress(const QUrl& url) {
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

bool IsWebAddress(const QString& text) {
    return IsWebAddress(QUrl(text, QUrl::StrictMode));
}

bool OpenUrl(const QUrl& url) {
    if (!IsWebAddress(url))
        return false;
    if (const UrlOpener& opener = UrlOpenerSeam()) {
        opener(url);
    } else {
        QDesktopServices::openUrl(url);
    }
    return true;
}

} // namespace norvale
