#include "app/DialogLayout.h"

#include "ui/DialogUnits.h"

#include <array>
#include <stdexcept>

namespace norvale {

namespace {

constexpr std::array kItems{
    DialogItem{IDC_TODAY, ItemKind::Link, "Today", 36, 101, 26, 9},
    DialogItem{IDC_DATEPICKER, ItemKind::DatePicker, "", 5, 112, 62, 15},
    DialogItem{IDC_MOONIMAGE, ItemKind::PictureFrame, "", 4, 3, 91, 97},
    DialogItem{IDC_MENU, ItemKind::PushButton, "Menu", 70, 112, 24, 15},
    DialogItem{IDC_NEXT, ItemKind::Link, "Next", 69, 101, 25, 9},
    DialogItem{IDC_PREV, ItemKind::Link, "Prev", 5, 100, 24, 9},
    DialogItem{IDC_TOGGLE, ItemKind::HiddenButton, "...", 46, 129, 7, 6},
};

} // namespace

std::span<const DialogItem> MainWindowItems() {
    return kItems;
}

const DialogItem& MainWindowItem(int id) {
    for (const DialogItem& item : kItems) {
        if (item.id == id) {
            return item;
        }
    }
    throw std::out_of_range("no such item in the main window layout");
}

QRect ItemPixelRect(const DialogItem& item) {
    return DialogRect(item.x, item.y, item.w, item.h);
}

QSize MainClientPixelSize() {
    return QSize(DialogUnitsToPixelsX(kMainClientUnitsW), DialogUnitsToPixelsY(kMainClientUnitsH));
}

} // namespace norvale
