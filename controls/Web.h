#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace norvale {

// A page of the maker's: its path on the web site and the section of the
// offline help that stands in for it while no web address is configured.
struct MakerPage {
    const char* path;
    const char* helpSection;
};
inline constexpr MakerPage kHelpTopicsPage{"/Norvale/help/", ""};
inline constexpr MakerPage kLatestVersionPage{"/Norvale/", "version"};
inline constexpr MakerPage kProductPage{"/Norvale/", "home"};
inline constexpr MakerPage kContactPage{"/contact.php", "contact"};
// The home page: the base directly followed by the query, no slash between.
inline constexpr MakerPage kHomePage{"", "home"};
// Every web address also carries this query.
inline constexpr char kFromQuery[] = "from=Norvale";

// The offline help as a Qt resource; its address is "qrc:" + this path.
inline constexpr char kHelpResourcePath[] = ":/norvale/help.html";

// The base address of the maker's pages ("https://example.org"). Empty (the
// default) reads the one configured with NORVALE_WEB_BASE when the program
// was built; tests assign another.
using WebBaseSource = std::function<QString()>;
WebBaseSource& WebBaseSeam();

// The base the program uses: the seam's or the configured one, or empty when
// there is none or it is no http or https address without query or fragment.
QString WebBase();

// The host shown for the maker: the base's, or the reserved
// "norvale.example" while no base is configured.
QString MakerHost();

// base + path + "?from=Norvale"; a slash at the end of the base is dropped.
QUrl WebPageUrl(const QString& base, const QString& path);

// The page on the configured web site, or its section of the offline help
// while none is configured.
QUrl PageUrl(const MakerPage& page);

// The offline help, scrolled to a section ("keys") or at its top.
QUrl HelpUrl(const QString& section = QString());

// True for an absolute http or https address with a host.
bool IsWebAddress(const QUrl& url);
bool IsWebAddress(const QString& text);
// True for the offline help, with no section or a section of lower-case
// letters.
bool IsHelpAddress(const QUrl& url);

// Opens web pages in the user's browser. Empty (the default) calls
// QDesktopServices::openUrl directly, no shell in between; tests assign a
// recorder.
using UrlOpener = std::function<void(const QUrl&)>;
UrlOpener& UrlOpenerSeam();

// Shows a section of the offline help (empty: its top). Empty (the default)
// shows the program's help window; tests assign a recorder.
using HelpOpener = std::function<void(const QString& section)>;
HelpOpener& HelpOpenerSeam();

// Hands a web address to the URL opener and the help's address to the help
// opener; anything else is refused. Returns whether it opened something.
// Menus and links both open their pages through here.
bool OpenUrl(const QUrl& url);

} // namespace norvale
