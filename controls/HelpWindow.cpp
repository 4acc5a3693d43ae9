#include "controls/HelpWindow.h"

#include "controls/Web.h"
#include "ui/Accessible.h"
#include "ui/Contrast.h"
#include "ui/Icons.h"

#include <QAccessible>
#include <QColor>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QVariant>

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

// Tab and Shift+Tab select the page's links one by one and Enter follows the
// selected one (QTextBrowser's own keys). Screen readers are told of each
// selected link as a selection and a caret move in the page's text, which Qt
// 6.4 does not do itself.
class CHelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

protected:
    // Qt lays out inline code without its "white-space: nowrap" (a browser
    // keeps it): the page is read with no break opportunity left inside a
    // <code> cell, its spaces non-breaking and a word joiner after every "-"
    // and "/".
    QVariant loadResource(int type, const QUrl& name) override {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::HtmlResource) {
            return resource;
        }
        QString page = resource.typeId() == QMetaType::QByteArray
                           ? QString::fromUtf8(resource.toByteArray())
                           : resource.toString();
        static const QRegularExpression code(QStringLiteral("<code>(.*?)</code>"),
                                             QRegularExpression::DotMatchesEverythingOption);
        QString joined;
        qsizetype from = 0;
        for (auto it = code.globalMatch(page); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            QString cell = match.captured(1);
            cell.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral("&nbsp;"));
            cell.replace(QLatin1Char('-'), QStringLiteral("-&#8288;"));
            cell.replace(QLatin1Char('/'), QStringLiteral("/&#8288;"));
            joined += page.mid(from, match.capturedStart(1) - from) + cell;
            from = match.capturedEnd(1);
        }
        return joined + page.mid(from);
    }

    bool focusNextPrevChild(bool next) override {
        const bool moved = QTextBrowser::focusNextPrevChild(next);
        const QTextCursor cursor = textCursor();
        if (moved && hasFocus() && cursor.hasSelection()) {
            QAccessibleTextSelectionEvent selection(this, cursor.selectionStart(),
                                                    cursor.selectionEnd());
            QAccessible::updateAccessibility(&selection);
            QAccessibleTextCursorEvent caret(this, cursor.position());
            QAccessible::updateAccessibility(&caret);
        }
        return moved;
    }
};

} // namespace

CHelpWindow::CHelpWindow() : QWidget(nullptr, Qt::Window) {
    setWindowTitle(QStringLiteral("Norvale Help"));
    SetAccessibleRole(this, QAccessible::Window);
    setWindowIcon(AppIcon());
    // Closing the help never ends the program, and destroys the window.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_DeleteOnClose, true);
    resize(520, 560);

    m_pBrowser = new CHelpBrowser(this);
    m_pBrowser->setObjectName(QStringLiteral("helpText"));
    m_pBrowser->setAccessibleName(QStringLiteral("Norvale Help"));
    // Every link is decided here: the page's own sections scroll it.
    m_pBrowser->setOpenLinks(false);
    m_pBrowser->setOpenExternalLinks(false);
    connect(m_pBrowser, &QTextBrowser::anchorClicked, this, &CHelpWindow::OnAnchorClicked);
    TakeLinkColour();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pBrowser);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

CHelpWindow::~CHelpWindow() = default;

QColor CHelpWindow::LinkColour() const {
    return ReadableOn(m_pBrowser->palette().color(QPalette::Link),
                      m_pBrowser->palette().color(QPalette::Base));
}

void CHelpWindow::TakeLinkColour() {
    // The page's links in the scheme's link colour where it reads at 4.5:1
    // on the page, else the nearest colour that does (a dark scheme's link
    // blue does not). The page takes it as it is read, so it is read again.
    const QString sheet = QStringLiteral("a { color: %1; }").arg(LinkColour().name(QColor::HexRgb));
    if (m_pBrowser->document()->defaultStyleSheet() != sheet) {
        m_pBrowser->document()->setDefaultStyleSheet(sheet);
        if (!m_pBrowser->source().isEmpty()) {
            m_pBrowser->reload();
        }
    }
}

void CHelpWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_pBrowser != nullptr) {
        TakeLinkColour();
    }
}

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
