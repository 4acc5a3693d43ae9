#pragma once

#include "app/DatePicker.h"
#include "app/MainMenu.h"
#include "app/WindowPlacement.h"
#include "controls/SimpleLink.h"
#include "core/DateValue.h"
#include "picture/MoonImage.h"
#include "pixels/Pixels.h"
#include "settings/Settings.h"

#include <QIcon>
#include <QMenu>
#include <QWidget>

#include <functional>
#include <optional>

class QAction;
class QEventLoop;
class QFrame;
class QPushButton;

namespace norvale {

// The top-level widget of the main window, which takes the dialog font as it
// is made: the controls, made after it, start with that font instead of being
// laid out once in the default font and again when the font changes.
class CDialogFontWindow : public QWidget {
protected:
    CDialogFontWindow(QWidget* parent, Qt::WindowFlags flags);
};

// The main window: the Moon picture, the "Prev", "Today" and "Next" labels,
// the date picker and the "Menu" button, in a full and a compact layout. It
// runs modally (DoModal) and keeps its settings between runs. Its handlers
// keep the program's established On... names; the placement on the desktop
// (CWindowPlacement), the pop-up menu (CMainMenu) and the picker's month-wrap
// rule (CorrectDayWrap) are collaborators it forwards to.
//
// Outer geometry (ReadWindowRect, FullHeight, the stored corner) is the frame's.
// The client area always measures 149 x 219 pixels in the full layout and
// 149 x 189 in the compact one.
class CNorvaleDlg : public CDialogFontWindow, public MoonImageHost {
    Q_OBJECT

public:
    // Sees every command OnCommand handles, before it acts (tests).
    using CommandObserver = std::function<void(int id, int lParam)>;

    explicit CNorvaleDlg(QWidget* parent = nullptr);
    ~CNorvaleDlg() override;
    CNorvaleDlg(const CNorvaleDlg&) = delete;
    CNorvaleDlg& operator=(const CNorvaleDlg&) = delete;

    // Initialises and shows the window, runs it until it ends and returns
    // how it ended (IDOK or IDCANCEL).
    int DoModal();
    // Initialises and shows the window without waiting for it to end.
    void Create();
    void EndDialog(int result);
    bool IsEnded() const { return m_bEnded; }
    int Result() const { return m_result; }

    bool OnInitDialog();
    bool OnCommand(int id, int lParam);
    void OnOK();
    void OnCancel();
    void OnClose();
    // A request to quit from outside (SIGTERM, SIGHUP, SIGINT): closes a
    // pop-up menu or the About box first, then ends the window as "Close"
    // does, settings saved.
    void OnQuitRequest();
    // The session manager asks every program to save its state: the window's
    // corner and settings are saved; the window stays.
    void OnSessionSave();

    // Date navigation.
    void OnDateTimeChange();
    void OnPickerKeyDown();
    void OnToday() override;
    void OnNext();
    void OnPrev();
    void OnNextDblClk();
    void OnPrevDblClk();
    void UpdateTimeFormatMenu();

    // Menu and commands.
    void BuildMenus();
    void OnMenuButton();
    void OpenMenuAt(const QPoint& globalPos) override;
    bool OnHelpInfo();
    // Shift+F10 and the Menu key: the menu hangs under the "Menu" button in
    // the full layout and from the picture's top-left corner in the compact
    // one, its first item active.
    void OnMenuKey();
    QPoint KeyboardMenuPoint() const;
    void OnLButtonUp(const QPoint& point);
    void OnToggleButton();

    bool IsNorthern() const override { return m_settings.bNorthern; }
    // The settings as they stand; saved when the window ends.
    const AppSettings& Settings() const { return m_settings; }

    // The toggle triangle's outline and fill: the palette's shadow and dark
    // colours, or the nearest that reach 3:1 against the window.
    QColor ToggleOutlineColour() const;
    QColor ToggleFillColour() const;

    // The menu item of a command id, or nullptr.
    QAction* MenuAction(int id) const;
    // The pop-up menu and its "Time Format", "Help" and "Hemisphere" submenus.
    QMenu& MenuMain() { return m_menu.Main(); }
    QMenu& MenuTimeFormat() { return m_menu.TimeFormat(); }
    QMenu& MenuHelp() { return m_menu.Help(); }
    QMenu& MenuHemisphere() { return m_menu.Hemisphere(); }
    CDatePicker& DatePicker() { return m_datePicker; }
    QPushButton* MenuButton() const { return m_pMenuButton; }
    QPushButton* ToggleButton() const { return m_pToggleButton; }
    QFrame* PictureFrame() const { return m_pPictureFrame; }

    void SetCommandObserver(CommandObserver observer);
    // Whether the desktop lets the program read and set window positions;
    // false on Wayland. Set before Create().
    void SetWindowPositionsKnown(bool known) { m_placement.SetPositionsKnown(known); }
    // The window rectangle in screen coordinates, frame included.
    PixelRect ReadWindowRect() const { return m_placement.ReadWindowRect(); }
    // The outer height of the full layout.
    int FullHeight() const { return m_placement.FullHeight(); }

    // Members in the order the window's state is declared.
    QIcon m_hIcon;
    CSimpleLink m_todayLink;
    CSimpleLink m_prevLink;
    CSimpleLink m_nextLink;
    bool m_bSuppressDayWrap = true;
    PixelRect m_rcToggleFull;
    PixelRect m_rcToggleCompact;
    CMoonImage m_moonImage;
    CDatePicker m_datePicker;
    DateValue m_selectedDate{0.0, DateStatus::valid};

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateControls();
    void DoDataExchange();
    void ConnectControls();
    // The window-wide keys: the menu, and "Prev", "Today" and "Next".
    void CreateShortcuts();
    void ApplyStoredSettings();
    void SetPickerRange();

    void OnPaint();
    void FocusPictureIfCompact();
    void LayoutSwitch();
    void DateLayout(int id);
    void Hemisphere(int id);
    void ShowAboutBox();

    DateValue ReadPicker() const;
    void WritePicker(const DateValue& v);
    void Publish(const DateValue& v);

    void AdoptFrameIfChanged();
    // Stores the window's corner and saves the settings file.
    void StoreAndSave();

    AppSettings m_settings;
    CWindowPlacement m_placement{*this};
    CMainMenu m_menu;
    QFrame* m_pPictureFrame = nullptr;
    QPushButton* m_pMenuButton = nullptr;
    QPushButton* m_pToggleButton = nullptr;

    CommandObserver m_commandObserver;
    QEventLoop* m_pLoop = nullptr;
    int m_result = 0;
    bool m_bEnded = false;
    bool m_bInitialised = false;
};

} // namespace norvale
