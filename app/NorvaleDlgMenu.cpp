// The pop-up menu of the main window and the one command handler.
#include "app/Commands.h"
#include "app/DialogLayout.h"
#include "app/NorvaleDlg.h"
#include "controls/AboutDlg.h"
#include "controls/Web.h"
#include "core/Moon.h"
#include "core/Texts.h"

#include <QAction>
#include <QActionGroup>
#include <QPushButton>

#include <array>

namespace norvale {

QAction* CNorvaleDlg::AddCommand(QMenu& menu, int id, const QString& text) {
    QAction* action = menu.addAction(text);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id, 0); });
    return action;
}

QAction* CNorvaleDlg::MenuAction(int id) const {
    for (const QMenu* menu : {&m_menuMain, &m_menuTimeFormat, &m_menuHelp, &m_menuHemisphere}) {
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->menu() == nullptr &&
                action->data().toInt() == id) {
                return action;
            }
        }
    }
    return nullptr;
}

// Marks the item of check and clears the others of first..last; a check id
// without an item leaves none marked.
void CNorvaleDlg::CheckMenuRadioItem(int first, int last, int check) {
    for (int id = first; id <= last; ++id) {
        if (QAction* action = MenuAction(id); action != nullptr) {
            action->setChecked(id == check);
        }
    }
}

void CNorvaleDlg::BuildMenus() {
    // A choice of the hemisphere already set must keep its mark: an exclusive
    // group never unchecks the item chosen.
    auto* hemispheres = new QActionGroup(&m_menuHemisphere);
    hemispheres->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (const auto& [id, text] : {std::pair{ID_NORTHERN, "Northern"}, {ID_SOUTHERN, "Southern"}}) {
        QAction* action = AddCommand(m_menuHemisphere, id, QString::fromLatin1(text));
        action->setCheckable(true);
        hemispheres->addAction(action);
    }

    AddCommand(m_menuHelp, ID_HELP_TOPICS, QStringLiteral("Help Topics      F1"));
    AddCommand(m_menuHelp, ID_LATEST_VERSION, QStringLiteral("Latest Version"));
    AddCommand(m_menuHelp, ID_HOME_PAGE, QStringLiteral("Home page"));
    AddCommand(m_menuHelp, ID_CONTACT_FORM, QStringLiteral("Contact form"));
    m_menuHelp.addSeparator();
    AddCommand(m_menuHelp, ID_ABOUT, QStringLiteral("About..."));

    // Stored indexes 6-9 leave the date layouts without a mark.
    auto* formats = new QActionGroup(&m_menuTimeFormat);
    formats->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int i = 0; i < kShownDateFormats; ++i) {
        QAction* action = AddCommand(m_menuTimeFormat, ID_DATE_FORMAT_FIRST + i,
                                     QString::fromStdString(DateFormatPattern(i, true)));
        action->setCheckable(true);
        formats->addAction(action);
    }
    UpdateTimeFormatMenu();

    AddCommand(m_menuMain, ID_LAYOUT_TOGGLE,
               m_settings.bFull ? QStringLiteral("Compact") : QStringLiteral("Full"));
    m_menuMain.addSeparator();
    m_menuTimeFormat.setTitle(QStringLiteral("Time Format"));
    m_menuMain.addMenu(&m_menuTimeFormat);
    m_menuHemisphere.setTitle(QStringLiteral("Hemisphere"));
    m_menuMain.addMenu(&m_menuHemisphere);
    m_menuMain.addSeparator();
    m_menuHelp.setTitle(QStringLiteral("Help"));
    m_menuMain.addMenu(&m_menuHelp);
    m_menuMain.addSeparator();
    AddCommand(m_menuMain, ID_CLOSE, QStringLiteral("Close"));
}

bool CNorvaleDlg::OnCommand(int id, int lParam) {
    if (m_commandObserver) {
        m_commandObserver(id, lParam);
    }
    switch (id) {
    case ID_LAYOUT_TOGGLE:
        LayoutSwitch();
        break;
    case ID_CLOSE:
        OnOK();
        break;
    case ID_HELP_TOPICS:
        OpenUrl(PageUrl(QString::fromLatin1(kHelpPath)));
        break;
    case ID_LATEST_VERSION:
    case ID_HOME_PAGE:
        OpenUrl(PageUrl(QString::fromLatin1(kProductPath)));
        break;
    case ID_CONTACT_FORM:
        OpenUrl(PageUrl(QString::fromLatin1(kContactPath)));
        break;
    case ID_ABOUT:
        ShowAboutBox();
        break;
    case ID_NORTHERN:
    case ID_SOUTHERN:
        Hemisphere(id);
        break;
    default:
        if (id >= ID_DATE_FORMAT_FIRST && id <= ID_DATE_FORMAT_LAST) {
            DateLayout(id);
        }
        break;
    }
    // The base handling: the OK and cancel commands end the window.
    if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    }
    return true;
}

void CNorvaleDlg::LayoutSwitch() {
    m_settings.bFull = !m_settings.bFull;
    const bool full = m_settings.bFull;
    if (QAction* item = MenuAction(ID_LAYOUT_TOGGLE); item != nullptr) {
        item->setText(full ? QStringLiteral("Compact") : QStringLiteral("Full"));
    }
    if (!full && (m_datePicker.hasFocus() || m_pMenuButton->hasFocus())) {
        // A hidden control keeps no focus; nothing else takes it.
        focusWidget()->clearFocus();
    }
    m_datePicker.setVisible(full);
    m_pMenuButton->setVisible(full);

    m_rcWindow = ReadWindowRect();
    MoveWindow(m_rcWindow.left, m_rcWindow.top, m_rcWindow.Width(),
               full ? m_nFullHeight : m_nFullHeight - kCompactHeightCut);
    m_pToggleButton->setGeometry(m_rcToggleFull.left,
                                 full ? m_rcToggleFull.top : m_rcToggleFull.top - kCompactHeightCut,
                                 m_rcToggleFull.Width(), m_rcToggleFull.Height());

    const int bandTop = m_rcToggleCompact.top - kToggleBandAbove;
    repaint(QRect(0, bandTop, width(), std::max(0, height() - bandTop)));
}

void CNorvaleDlg::DateLayout(int id) {
    const int index = id - ID_DATE_FORMAT_FIRST;
    m_settings.nDateFormat = index;
    CheckMenuRadioItem(ID_DATE_FORMAT_FIRST, ID_DATE_FORMAT_LAST, id);
    m_datePicker.SetFormat(QString::fromStdString(DateFormatPattern(index, true)));
}

void CNorvaleDlg::Hemisphere(int id) {
    const bool northern = id == ID_NORTHERN;
    if (m_settings.bNorthern == northern) {
        return;
    }
    m_settings.bNorthern = northern;
    CheckMenuRadioItem(ID_NORTHERN, ID_SOUTHERN, id);
    m_moonImage.repaint();
}

void CNorvaleDlg::ShowAboutBox() {
    CAboutDlg about(this);
    about.exec();
}

void CNorvaleDlg::OnMenuButton() {
    // The menu hangs from the button's bottom-left corner.
    OpenMenuAt(m_pMenuButton->mapToGlobal(QPoint(0, m_pMenuButton->height())));
}

void CNorvaleDlg::OpenMenuAt(const QPoint& globalPos) {
    m_menuMain.popup(globalPos);
}

bool CNorvaleDlg::OnHelpInfo() {
    OnCommand(ID_HELP_TOPICS, 0);
    return true;
}

void CNorvaleDlg::OnLButtonUp(const QPoint& point) {
    const WinRect& box = m_settings.bFull ? m_rcToggleFull : m_rcToggleCompact;
    if (box.Contains(point)) {
        OnCommand(ID_LAYOUT_TOGGLE, IDC_TOGGLE);
    }
}

void CNorvaleDlg::OnToggleButton() {
    OnCommand(ID_LAYOUT_TOGGLE, IDC_TOGGLE);
}

} // namespace norvale
