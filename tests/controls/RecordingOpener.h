#pragma once

#include "controls/Web.h"

#include <QList>
#include <QUrl>

namespace norvale::test {

// Records the addresses handed to the desktop instead of opening a browser.
class RecordingOpener {
public:
    RecordingOpener() : m_scope([this](const QUrl& url) { opened.append(url); }) {}
    QList<QUrl> opened;

private:
    ScopedUrlOpener m_scope;
};

} // namespace norvale::test
