// The keys of the main window: Enter, Escape and F1, the keys that open the
// pop-up menu, and those of "Prev", "Today" and "Next"; where the keyboard's
// focus goes in the compact layout.
#include "app/Commands.h"
#include "app/NorvaleDlg.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

namespace norvale {

void CNorvaleDlg::CreateShortcuts() {
    // Window-wide: they work whatever has the focus, the picker included
    // (its line edit claims none of them, so they are not eaten as typing).
    const struct {
        QKeyCombination key;
        void (CNorvaleDlg::*handler)();
    } keys[] = {
        {Qt::SHIFT | Qt::Key_F10, &CNorvaleDlg::OnMenuKey},
        {QKeyCombination(Qt::Key_Menu), &CNorvaleDlg::OnMenuKey},
        {Qt::ALT | Qt::Key_Left, &CNorvaleDlg::OnPrev},
        {Qt::ALT | Qt::Key_Home, &CNorvaleDlg::OnToday},
        {Qt::ALT | Qt::Key_Right, &CNorvaleDlg::OnNext},
    };
    for (const auto& [key, handler] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, handler);
    }
}

QPoint CNorvaleDlg::KeyboardMenuPoint() const {
    if (m_settings.bFull) {
        return m_pMenuButton->mapToGlobal(QPoint(0, m_pMenuButton->height()));
    }
    return m_moonImage.mapToGlobal(QPoint(0, 0));
}

void CNorvaleDlg::OnMenuKey() {
    OpenMenuAt(KeyboardMenuPoint());
    // Opened from the keyboard, the menu starts on its first item, so a
    // screen reader names it and Enter chooses it.
    m_menu.ActivateFirstItem();
}

void CNorvaleDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A focused push button takes Enter itself; otherwise the OK path.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button != nullptr && button->isVisible()) {
            button->click();
        } else {
            OnCommand(IDOK, 0);
        }
        return;
    case Qt::Key_Escape:
        OnCommand(IDCANCEL, 0);
        return;
    case Qt::Key_F1:
        OnHelpInfo();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

// The compact layout hides "Menu", so the picture holds the focus there
// (a hidden control would leave keyboard and screen-reader users nowhere).
void CNorvaleDlg::FocusPictureIfCompact() {
    if (!m_settings.bFull && m_bInitialised && !m_moonImage.hasFocus()) {
        m_moonImage.setFocus(Qt::OtherFocusReason);
    }
}

} // namespace norvale
