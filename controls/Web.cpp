#include "controls/Web.h"

#include "controls/HelpWindow.h"

#include <QDesktopServices>
#include <QRegularExpression>

// The base address configured for this build (CMake's NORVALE_WEB_BASE).
#ifndef NORVALE_WEB_BASE
#error "NORVALE_WEB_BASE must be defined by the build"
#endif

namespace norvale {

namespace {

const QString& HelpAddressPath() {
    static const QString path = QString::fromLatin1(kHelpResourcePath).mid(1);
    return path;
}

} // namespace

UrlOpener& UrlOpenerSeam() {
    static UrlOpener opener;
    return opener;
}

HelpOpener& HelpOpenerSeam() {
    static HelpOpener opener;
    return opener;
}

WebBaseSource& WebBaseSeam() {
    static WebBaseSource source;
    return source;
}

QString WebBase() {
    const WebBaseSource& source = WebBaseSeam();
    const QString base = source ? source() : QStringLiteral(NORVALE_WEB_BASE);
    const QUrl url(base, QUrl::StrictMode);
    if (!IsWebAddress(url) || url.hasQuery() || url.hasFragment() || !url.userInfo().isEmpty()) {
        return QString();
    }
    return base;
}

QString MakerHost() {
    const QString base = WebBase();
    return base.isEmpty() ? QStringLiteral("norvale.example") : QUrl(base).host();
}

QUrl WebPageUrl(const QString& base, const QString& path) {
    QUrl url(base, QUrl::StrictMode);
    QString basePath = url.path();
    while (basePath.endsWith(QLatin1Char('/'))) {
        basePath.chop(1);
    }
    url.setPath(basePath + path);
    url.setQuery(QString::fromLatin1(kFromQuery));
    return url;
}

QUrl PageUrl(const MakerPage& page) {
    const QString base = WebBase();
    if (base.isEmpty()) {
        return HelpUrl(QString::fromLatin1(page.helpSection));
    }
    return WebPageUrl(base, QString::fromLatin1(page.path));
}

QUrl HelpUrl(const QString& section) {
    QUrl url;
    url.setScheme(QStringLiteral("qrc"));
    url.setPath(HelpAddressPath());
    if (!section.isEmpty()) {
        url.setFragment(section);
    }
    return url;
}

bool IsWebAddress(const QUrl& url) {
    if (!url.isValid() || url.isRelative() || url.host().isEmpty()) {
        return false;
    }
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

bool IsWebAddress(const QString& text) {
    return IsWebAddress(QUrl(text, QUrl::StrictMode));
}

bool IsHelpAddress(const QUrl& url) {
    static const QRegularExpression section(QStringLiteral("^[a-z]*$"));
    return url.isValid() && url.scheme() == QLatin1String("qrc") && url.authority().isEmpty() &&
           url.path() == HelpAddressPath() && !url.hasQuery() &&
           section.match(url.fragment()).hasMatch();
}

bool OpenUrl(const QUrl& url) {
    if (IsHelpAddress(url)) {
        if (const HelpOpener& opener = HelpOpenerSeam()) {
            opener(url.fragment());
        } else {
            CHelpWindow::ShowSection(url.fragment());
        }
        return true;
    }
    if (!IsWebAddress(url)) {
        return false;
    }
    if (const UrlOpener& opener = UrlOpenerSeam()) {
        opener(url);
    } else {
        QDesktopServices::openUrl(url);
    }
    return true;
}

} // namespace norvale
