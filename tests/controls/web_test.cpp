// The maker's web pages, which opener each address goes to, dialog units.

#include "QtPrint.h"
#include "RecordingOpener.h"
#include "controls/Web.h"
#include "ui/DialogUnits.h"

#include <gtest/gtest.h>

#include <utility>

namespace norvale {
namespace {

// With a web address configured, every page is on it.
TEST(WebTest, PageAddresses) {
    const QString example = QStringLiteral("http://norvale.example");
    const struct {
        const char* name;
        QString base;
        MakerPage page;
        const char* expected;
    } cases[] = {
        {"help", example, kHelpTopicsPage, "http://norvale.example/Norvale/help/?from=Norvale"},
        {"latest version", example, kLatestVersionPage,
         "http://norvale.example/Norvale/?from=Norvale"},
        {"product", example, kProductPage, "http://norvale.example/Norvale/?from=Norvale"},
        {"contact", example, kContactPage, "http://norvale.example/contact.php?from=Norvale"},
        {"home, no slash before the query", example, kHomePage,
         "http://norvale.example?from=Norvale"},
        {"https base with a folder and a slash", "https://moon.example.org/apps/", kContactPage,
         "https://moon.example.org/apps/contact.php?from=Norvale"},
        {"home below a folder", "https://moon.example.org/apps", kHomePage,
         "https://moon.example.org/apps?from=Norvale"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScopedWebBase configured(c.base);
        const QUrl url = PageUrl(c.page);
        EXPECT_EQ(url.toString(), QString::fromLatin1(c.expected));
        EXPECT_EQ(url.host(), MakerHost());
        EXPECT_TRUE(IsWebAddress(url));
    }
}

// Without one (or with one that is no web address), every page is its
// section of the offline help and the shown host stays the reserved name.
TEST(WebTest, PagesWithoutABaseAreHelpSections) {
    for (const char* base :
         {"", "ftp://norvale.example", "norvale.example", "http://norvale.example?x=1",
          "http://user@norvale.example", "javascript:alert(1)", "file:///usr/share/norvale"}) {
        SCOPED_TRACE(*base ? base : "none");
        test::ScopedWebBase configured(QString::fromLatin1(base));
        EXPECT_EQ(WebBase(), QString());
        EXPECT_EQ(MakerHost(), QStringLiteral("norvale.example"));
        const std::pair<MakerPage, const char*> pages[] = {
            {kHelpTopicsPage, "qrc:/norvale/help.html"},
            {kLatestVersionPage, "qrc:/norvale/help.html#version"},
            {kProductPage, "qrc:/norvale/help.html#home"},
            {kHomePage, "qrc:/norvale/help.html#home"},
            {kContactPage, "qrc:/norvale/help.html#contact"},
        };
        for (const auto& [page, expected] : pages) {
            EXPECT_EQ(PageUrl(page).toString(), QString::fromLatin1(expected));
            EXPECT_TRUE(IsHelpAddress(PageUrl(page)));
        }
    }
}

// Only the web and the help's own sections are ever opened, each by its own
// opener.
TEST(WebTest, OpenUrlHandsEachAddressToItsOpener) {
    const struct {
        const char* name;
        const char* text;
        const char* helpSection; // "-": not the help
        bool web;
    } cases[] = {
        {"help", "qrc:/norvale/help.html", "", false},
        {"help section", "qrc:/norvale/help.html#keys", "keys", false},
        {"other resource", "qrc:/norvale/icon.png", "-", false},
        {"help with a query", "qrc:/norvale/help.html?x#keys", "-", false},
        {"odd section", "qrc:/norvale/help.html#../x", "-", false},
        {"help with a host", "qrc://evil/norvale/help.html", "-", false},
        {"installed file", "file:///usr/share/norvale/help.html", "-", false},
        {"web", "https://norvale.example/a", "-", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::RecordingOpener opener;
        test::RecordingHelp help;
        const QString section = QString::fromLatin1(c.helpSection);
        const bool isHelp = section != QLatin1String("-");
        EXPECT_EQ(OpenUrl(QUrl(QString::fromLatin1(c.text))), isHelp || c.web);
        EXPECT_EQ(help.sections, isHelp ? QStringList{section} : QStringList{});
        EXPECT_EQ(opener.opened.size(), c.web ? 1 : 0);
    }
}

TEST(WebTest, WebAddresses) {
    const struct {
        const char* name;
        const char* text;
        bool web;
    } cases[] = {
        {"bare caption", "Next", false},
        {"empty", "", false},
        {"http", "http://norvale.example?from=Norvale", true},
        {"https with path", "https://norvale.example/a/b", true},
        {"upper-case scheme", "HTTP://NORVALE.EXAMPLE/", true},
        {"no host", "http:", false},
        {"local file", "file:///etc/passwd", false},
        {"absolute path", "/bin/sh", false},
        {"relative path", "./Next", false},
        {"mail", "mailto:support@norvale.example", false},
        {"script", "javascript:alert(1)", false},
        {"other scheme", "ftp://norvale.example/", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(IsWebAddress(text), c.web);

        test::RecordingOpener opener;
        test::RecordingHelp help;
        EXPECT_EQ(OpenUrl(QUrl(text)), c.web);
        EXPECT_TRUE(help.sections.isEmpty());
        EXPECT_EQ(opener.opened.size(), c.web ? 1 : 0);
    }
}

TEST(WebTest, ScopedOpenerRestoresThePreviousOne) {
    const QUrl home = WebPageUrl(QStringLiteral("http://norvale.example"), QString());
    test::RecordingOpener outer;
    {
        test::RecordingOpener inner;
        OpenUrl(home);
        EXPECT_EQ(inner.opened.size(), 1);
    }
    OpenUrl(home);
    EXPECT_EQ(outer.opened, QList<QUrl>{home});
}

TEST(WebTest, DialogUnits) {
    const struct {
        const char* name;
        int units;
        bool horizontal;
        int pixels;
    } cases[] = {
        {"x 4", 4, true, 6},
        {"x 7, half rounds up", 7, true, 11},
        {"x 91", 91, true, 137},
        {"x 187", 187, true, 281},
        {"x -7, half away from zero", -7, true, -11},
        {"y 3", 3, false, 5},
        {"y 36, half rounds up", 36, false, 59},
        {"y 95", 95, false, 154},
        {"y 97", 97, false, 158},
        {"y 135", 135, false, 219},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.horizontal ? DialogUnitsToPixelsX(c.units) : DialogUnitsToPixelsY(c.units),
                  c.pixels);
    }
}

} // namespace
} // namespace norvale
