#include "controls/Web.h"

#include <QDesktopServices>

#include <utility>

namespace norvale {

namespace {

void OpenWithDesktop(const QUrl& url) {
    QDesktopServices::openUrl(url);
}

UrlOpener& CurrentOpener() {
    static UrlOpener opener = OpenWithDesktop;
    return opener;
}

} // namespace

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

void SetUrlOpener(UrlOpener opener) {
    CurrentOpener() = opener ? std::move(opener) : UrlOpener(OpenWithDesktop);
}

bool OpenUrl(const QUrl& url) {
    if (!IsWebAddress(url))
        return false;
    CurrentOpener()(url);
    return true;
}

ScopedUrlOpener::ScopedUrlOpener(UrlOpener opener) : m_previous(CurrentOpener()) {
    SetUrlOpener(std::move(opener));
}

ScopedUrlOpener::~ScopedUrlOpener() {
    SetUrlOpener(std::move(m_previous));
}

} // namespace norvale
