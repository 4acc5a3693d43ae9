// Date navigation of the main window: the labels, the picker and the
// publishing of the shown day.
#include "app/NorvaleDlg.h"
#include "core/DayNavigation.h"

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

// The picker wraps its day field within the month; while "Prev" or "Next"
// armed the correction, such a wrap is read as a one-day step.
void CNorvaleDlg::OnDateTimeChange() {
    const PickerChange change = CorrectDayWrap(m_selectedDate, ReadPicker(), !m_bSuppressDayWrap);
    if (change.rewritePicker) {
        WritePicker(change.day);
    }
    Publish(change.day);
}

void CNorvaleDlg::UpdateTimeFormatMenu() {
    m_menu.RetextTimeFormats(ReadPicker(), m_settings.nDateFormat);
}

} // namespace norvale
