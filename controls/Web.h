#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace norvale {

// Paths of the maker's pages; every address also carries kFromQuery.
inline constexpr char kHelpPath[] = "/Norvale/help/";
inline constexpr char kProductPath[] = "/Norvale/";
inline constexpr char kContactPath[] = "/contact.php";
inline constexpr char kFromQuery[] = "from=Norvale";

// The maker's web host (a reserved ".example" name until the project has its
// own). This is the one place the host is written down.
QString MakerHost();

// "http://" + host + path + "?from=Norvale", e.g. PageUrl(kContactPath).
QUrl PageUrl(const QString& path);

// The home page: the host directly followed by the query, no slash between.
QUrl HomePageUrl();

// True for an absolute http or https address with a host: the only targets
// Norvale hands to the desktop.
bool IsWebAddress(const QUrl& url);
bool IsWebAddress(const QString& text);

// Opens web pages in the user's browser. Empty (the default) calls
// QDesktopServices::openUrl directly, no shell in between; tests assign a
// recorder.
using UrlOpener = std::function<void(const QUrl&)>;
UrlOpener& UrlOpenerSeam();

// Hands url to the opener if it is a web address; returns whether it did.
// Menus and links both open their pages through here.
bool OpenUrl(const QUrl& url);

} // namespace norvale
