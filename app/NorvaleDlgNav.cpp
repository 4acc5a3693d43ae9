// Date navigation of the main window: the labels, the picker and the
// publishing of the shown day.
#include "app/Commands.h"
#include "app/NorvaleDlg.h"
#include "core/Moon.h"
#include "core/Texts.h"

#include <QAction>

namespace norvale {

DateValue CNorvaleDlg::ReadPicker() const {
    SystemTime fields;
    switch (m_datePicker.GetTime(fields)) {
    case CDatePicker::GetResult::Valid: {
        DateValue v;
        v.FromSystemTime(fields);
        return v;
    }
    case CDatePicker::GetResult::NoDate:
        return DateValue(0.0, DateStatus::null);
    case CDatePicker::GetResult::Error:
        break;
    }
    return DateValue(0.0, DateStatus::invalid);
}

void CNorvaleDlg::WritePicker(const DateValue& v) {
    SystemTime fields;
    if (v.ToFields(fields)) {
        m_datePicker.SetTime(fields);
    } else {
        m_datePicker.SetNoDate();
    }
}

// Hands the day to the picture, repaints it before returning, remembers it
// and re-texts the "Time Format" items. The picture's accessible text follows
// the day even when the window is hidden or minimised and paints nothing.
void CNorvaleDlg::Publish(const DateValue& v) {
    m_moonImage.m_date = v;
    m_moonImage.RefreshAccessibleText();
    m_moonImage.repaint();
    m_selectedDate = v;
    UpdateTimeFormatMenu();
}

void CNorvaleDlg::OnNext() {
    m_bSuppressDayWrap = false;
    DateValue v = ReadPicker();
    v += OneDay;
    WritePicker(v);
    Publish(v);
}

void CNorvaleDlg::OnPrev() {
    m_bSuppressDayWrap = false;
    DateValue v = ReadPicker();
    v -= OneDay;
    WritePicker(v);
    Publish(v);
}

// The second click of a double click arrives only as the double click.
void CNorvaleDlg::OnNextDblClk() {
    OnNext();
}
void CNorvaleDlg::OnPrevDblClk() {
    OnPrev();
}

void CNorvaleDlg::OnToday() {
    const DateValue v = DateValue::Now();
    WritePicker(v);
    Publish(v);
}

void CNorvaleDlg::OnPickerKeyDown() {
    m_bSuppressDayWrap = true;
}

// The picker wraps its day field within the month (31 January, day up, gives
// 1 January). While armed by "Prev" or "Next", a jump of the day of the month
// by two or more is read as a one-day step from the previous selection.
void CNorvaleDlg::OnDateTimeChange() {
    DateValue p = ReadPicker();
    const int dS = m_selectedDate.Day();
    const int dP = p.Day();
    if (!m_bSuppressDayWrap && dS > dP && dS - dP > 1) {
        p = m_selectedDate + OneDay;
        p.status = DateStatus::valid;
        WritePicker(p);
    } else if (!m_bSuppressDayWrap && dS < dP && dP - dS > 1) {
        p = m_selectedDate - OneDay;
        p.status = DateStatus::valid;
        WritePicker(p);
    }
    Publish(p);
}

void CNorvaleDlg::UpdateTimeFormatMenu() {
    const DateValue v = ReadPicker();
    for (int i = 0; i < kShownDateFormats; ++i) {
        if (QAction* action = MenuAction(ID_DATE_FORMAT_FIRST + i); action != nullptr) {
            action->setText(QString::fromStdString(v.Format(DateFormatPattern(i, false))));
        }
    }
    CheckMenuRadioItem(ID_DATE_FORMAT_FIRST, ID_DATE_FORMAT_SHOWN_LAST,
                       DateFormatCommand(m_settings.nDateFormat));
}

} // namespace norvale
