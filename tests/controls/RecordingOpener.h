#pragma once

#include "controls/Web.h"
#include "tests/support/TestSupport.h"

#include <QList>
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

} // namespace norvale::test
