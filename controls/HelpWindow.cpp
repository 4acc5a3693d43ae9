#include "controls/HelpWindow.h"

#include "controls/Web.h"
#include "ui/Icons.h"

#include <QKeySequence>
#include <QPointer>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace norvale {

namespace {

QPointer<CHelpWindow>& TheHelpWindow() {
    static QPointer<CHelpWindow> window;
    return window;
}

} // namespace

CHelpWindow::CHelpWindow() : QWidget(nullptr, Qt::Window) {
    setWindowTitle(QStringLiteral("Norvale Help"));
    setWindowIcon(AppIcon());
    // Closing the help never ends the program, and destroys the window.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, true);
    resize(520, 560);

    m_pBrowser = new QTextBrowser(this);
    m_pBrowser->setObjectName(QStringLiteral("helpText"));
    m_pBrowser->setAccessibleName(QStringLiteral("Norvale Help"));
    // Every link is decided here: the page's own sections scroll it.
    m_pBrowser->setOpenLinks(false);
    m_pBrowser->setOpenExternalLinks(false);
    connect(m_pBrowser, &QTextBrowser::anchorClicked, this, &CHelpWindow::OnAnchorClicked);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pBrowser);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

CHelpWindow::~CHelpWindow() = default;

CHelpWindow* CHelpWindow::Instance() {
    return TheHelpWindow().data();
}

void CHelpWindow::ShowSection(const QString& section) {
    QPointer<CHelpWindow>& window = TheHelpWindow();
    if (window.isNull()) {
        window = new CHelpWindow();
    }
    window->show();
    window->raise();
    window->activateWindow();
    // A section is scrolled to once the page is laid out in the shown window.
    window->m_pBrowser->setSource(HelpUrl(section));
    if (section.isEmpty()) {
        window->m_pBrowser->verticalScrollBar()->setValue(0);
    }
}

void CHelpWindow::CloseAll() {
    delete TheHelpWindow().data();
}

void CHelpWindow::OnAnchorClicked(const QUrl& url) {
    const QUrl target = m_pBrowser->source().resolved(url);
    if (IsHelpAddress(target)) {
        if (target.fragment().isEmpty()) {
            m_pBrowser->verticalScrollBar()->setValue(0);
        } else {
            m_pBrowser->scrollToAnchor(target.fragment());
        }
        return;
    }
    OpenUrl(target);
}

} // namespace norvale
