#pragma once

#include "core/DateValue.h"

#include <QMenu>
#include <QPoint>
#include <QString>

#include <functional>

class QAction;
class QWidget;

namespace norvale {

// The pop-up menu of the main window: its items, their command ids and radio
// marks, and the "Time Format" items that show the picker's day in each date
// layout. It holds the four menus (the main one and its three submenus),
// made as pop-ups of the window, fills and updates them, and hands every
// chosen item to the window as a command id.
class CMainMenu {
public:
    using CommandSink = std::function<void(int id)>;

    CMainMenu(QWidget& owner, CommandSink sink);

    QMenu& Main() { return m_main; }
    QMenu& TimeFormat() { return m_timeFormat; }
    QMenu& Help() { return m_help; }
    QMenu& Hemisphere() { return m_hemisphere; }

    // Makes every item; the layout item says what choosing it switches to.
    void Build(bool full);
    // The item of a command id, or nullptr.
    QAction* Action(int id) const;
    // Marks the item of check and clears the others of first..last; a check id
    // without an item leaves none marked.
    void CheckRadioItem(int first, int last, int check);
    // "Compact" in the full layout, "Full" in the compact one.
    void SetLayoutText(bool full);
    // Each "Time Format" item shows day in its layout; the stored layout's
    // item carries the mark (none for a layout without an item).
    void RetextTimeFormats(const DateValue& day, int dateFormat);
    // Opens the menu with its top-left corner at a global position.
    void PopupAt(const QPoint& globalPos);
    // Makes the main menu's first item the active one.
    void ActivateFirstItem();

private:
    QAction* AddCommand(QMenu& menu, int id, const QString& text);

    QWidget& m_owner;
    QMenu m_main;
    QMenu m_timeFormat;
    QMenu m_help;
    QMenu m_hemisphere;
    CommandSink m_sink;
};

} // namespace norvale
