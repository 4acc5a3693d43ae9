#pragma once

#include "controls/Web.h"
#include "tests/support/TestSupport.h"

#include <QList>
#include <QStringList>
#include <QUrl>

namespace norvale::test {

// Records the addresses handed to the desktop instead of opening a browser.
class RecordingOpener {
public:
    RecordingOpener() : m_scope(UrlOpenerSeam(), [this](const QUrl& url) { opened.append(url); }) {}
    QList<QUrl> opened;

private:
    ScopedOverride<UrlOpener> m_scope;
};

// Records the sections of the offline help asked for instead of showing the
// help window.
class RecordingHelp {
public:
    RecordingHelp()
        : m_scope(HelpOpenerSeam(), [this](const QString& section) { sections.append(section); }) {}
    QStringList sections;

private:
    ScopedOverride<HelpOpener> m_scope;
};

// Sets the base address of the maker's pages for the lifetime of the object.
class ScopedWebBase {
public:
    explicit ScopedWebBase(const QString& base) : m_scope(WebBaseSeam(), [base] { return base; }) {}

private:
    ScopedOverride<WebBaseSource> m_scope;
};

} // namespace norvale::test
