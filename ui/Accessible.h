#pragma once

#include <QAccessible>

class QWidget;

namespace norvale {

// Gives a widget the role screen readers see it in, where Qt's own choice
// misleads: a top-level QWidget reaches them as a "filler" rather than a
// window, a QFrame as a "frame" (a top-level window to them). The widget keeps
// Qt's interface otherwise (the name of a window is its title). Call it before
// the widget is first asked for by a screen reader, that is in its
// constructor.
void SetAccessibleRole(QWidget* widget, QAccessible::Role role);

} // namespace norvale
