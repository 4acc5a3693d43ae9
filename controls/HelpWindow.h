#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

class QTextBrowser;
class QUrl;

namespace norvale {

// The offline help: the help page built into the program, shown in a small
// window of its own. There is at most one; it is not modal, so the main
// window (and an open About box) stay usable beside it. Links inside the page
// scroll it; web links go through OpenUrl, nothing else is opened.
class CHelpWindow : public QWidget {
    Q_OBJECT

public:
    ~CHelpWindow() override;

    // Shows the one help window (made on first use), brings it to the front
    // and scrolls it to a section ("keys"), or to the top for none.
    static void ShowSection(const QString& section);
    // The help window, or nullptr while none is open.
    static CHelpWindow* Instance();
    // Closes and destroys the help window, if any (the main window's end).
    static void CloseAll();

    QTextBrowser* Browser() const { return m_pBrowser; }
    // The colour of the page's links: the scheme's link colour, or the
    // nearest that reads at 4.5:1 on the page.
    QColor LinkColour() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void TakeLinkColour();

    CHelpWindow();
    void OnAnchorClicked(const QUrl& url);

    QTextBrowser* m_pBrowser = nullptr;
};

} // namespace norvale
