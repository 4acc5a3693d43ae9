// The pop-up menu of the main window and the one command handler.
#include "app/Commands.h"
#include "app/DialogLayout.h"
#include "app/NorvaleDlg.h"
#include "controls/AboutDlg.h"
#include "controls/Web.h"
#include "core/Texts.h"

#include <QPushButton>

#include <algorithm>

namespace norvale {

QAction* CNorvaleDlg::MenuAction(int id) const {
    return m_menu.Action(id);
}

void CNorvaleDlg::BuildMenus() {
    m_menu.Build(m_settings.bFull);
    UpdateTimeFormatMenu();
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
    // The maker's pages on the configured web site, or while none is
    // configured their sections of the offline help.
    case ID_HELP_TOPICS:
        OpenUrl(PageUrl(kHelpTopicsPage));
        break;
    case ID_LATEST_VERSION:
        OpenUrl(PageUrl(kLatestVersionPage));
        break;
    case ID_HOME_PAGE:
        OpenUrl(PageUrl(kProductPage));
        break;
    case ID_CONTACT_FORM:
        OpenUrl(PageUrl(kContactPage));
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
    m_menu.SetLayoutText(full);
    m_datePicker.setVisible(full);
    m_pMenuButton->setVisible(full);
    // A hidden control keeps no focus: in the compact layout the picture
    // takes it.
    FocusPictureIfCompact();

    m_placement.Resize(full ? FullHeight() : FullHeight() - kCompactHeightCut);
    m_pToggleButton->setGeometry(m_rcToggleFull.left,
                                 full ? m_rcToggleFull.top : m_rcToggleFull.top - kCompactHeightCut,
                                 m_rcToggleFull.Width(), m_rcToggleFull.Height());

    const int bandTop = m_rcToggleCompact.top - kToggleBandAbove;
    repaint(QRect(0, bandTop, width(), std::max(0, height() - bandTop)));
}

void CNorvaleDlg::DateLayout(int id) {
    const int index = id - ID_DATE_FORMAT_FIRST;
    m_settings.nDateFormat = index;
    m_menu.CheckRadioItem(ID_DATE_FORMAT_FIRST, ID_DATE_FORMAT_LAST, id);
    m_datePicker.SetFormat(QString::fromStdString(DateFormatPattern(index, true)));
}

void CNorvaleDlg::Hemisphere(int id) {
    const bool northern = id == ID_NORTHERN;
    if (m_settings.bNorthern == northern) {
        return;
    }
    m_settings.bNorthern = northern;
    m_menu.CheckRadioItem(ID_NORTHERN, ID_SOUTHERN, id);
    m_moonImage.repaint();
}

void CNorvaleDlg::ShowAboutBox() {
    CAboutDlg about(this);
    about.exec();
    FocusPictureIfCompact();
}

void CNorvaleDlg::OnMenuButton() {
    // The menu hangs from the button's bottom-left corner.
    OpenMenuAt(m_pMenuButton->mapToGlobal(QPoint(0, m_pMenuButton->height())));
}

void CNorvaleDlg::OpenMenuAt(const QPoint& globalPos) {
    m_menu.PopupAt(globalPos);
}

bool CNorvaleDlg::OnHelpInfo() {
    OnCommand(ID_HELP_TOPICS, 0);
    return true;
}

void CNorvaleDlg::OnLButtonUp(const QPoint& point) {
    const PixelRect& box = m_settings.bFull ? m_rcToggleFull : m_rcToggleCompact;
    if (box.Contains(point.x(), point.y())) {
        OnCommand(ID_LAYOUT_TOGGLE, IDC_TOGGLE);
    }
}

void CNorvaleDlg::OnToggleButton() {
    OnCommand(ID_LAYOUT_TOGGLE, IDC_TOGGLE);
}

} // namespace norvale
