#pragma once

namespace norvale {

// Command ids of the main window; every menu choice, key and replayed setting
// reaches OnCommand as one of these.
enum CommandId : int {
    IDOK = 1,
    IDCANCEL = 2,
    ID_LAYOUT_TOGGLE = 310,
    ID_CLOSE = 315,
    ID_HELP_TOPICS = 320,
    ID_LATEST_VERSION = 321,
    ID_HOME_PAGE = 322,
    ID_CONTACT_FORM = 323,
    ID_ABOUT = 329,
    ID_DATE_FORMAT_FIRST = 330, // 330 + date-format index
    ID_DATE_FORMAT_SHOWN_LAST = 335,
    ID_DATE_FORMAT_LAST = 339,
    ID_NORTHERN = 340,
    ID_SOUTHERN = 341,
};

// Control ids of the window layout.
enum ControlId : int {
    IDC_DATEPICKER = 1000,
    IDC_MOONIMAGE = 1001,
    IDC_TODAY = 1002,
    IDC_MENU = 1004,
    IDC_NEXT = 1009,
    IDC_PREV = 1010,
    IDC_TOGGLE = 1011,
};

// Date-format indexes with a menu item of their own, and those the date-layout
// command accepts.
inline constexpr int kShownDateFormats = 6;
inline constexpr int kDateFormatCommands = 10;

// The command id of a stored date-format index, or 0 when no date-layout
// command exists for it. The index is tested before the addition, so no
// stored value overflows.
constexpr int DateFormatCommand(int index) {
    return index >= 0 && index < kDateFormatCommands ? ID_DATE_FORMAT_FIRST + index : 0;
}

} // namespace norvale
