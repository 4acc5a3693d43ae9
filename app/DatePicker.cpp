#include "app/DatePicker.h"

#include "core/Clock.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QSignalBlocker>

#include <algorithm>
#include <ctime>

namespace norvale {

namespace {

// The current local wall-clock time of the injected clock, as the platform
// picker starts with it.
QDateTime CurrentLocalDateTime() {
    std::tm local{};
    if (!BreakDownLocalTime(CurrentUnixSeconds(), local)) {
        return QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    }
    return QDateTime(QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                     QTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59)), Qt::UTC);
}

} // namespace

CDatePicker::CDatePicker(QWidget* parent) : QDateTimeEdit(parent) {
    setTimeSpec(Qt::UTC);
    setCalendarPopup(false);
    setWrapping(true);
    setLocale(QLocale::system());
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    // A typed day outside the range (a year before its first) is dropped and
    // the previous day stays; Qt's nearest-value correction would jump to a
    // day of its own choosing instead.
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    WriteSilently(CurrentLocalDateTime());
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] { emit DateTimeChange(); });
}

CDatePicker::~CDatePicker() = default;

QDateTime CDatePicker::ToDateTime(const SystemTime& fields) {
    const QDate date(fields.wYear, fields.wMonth, fields.wDay);
    const QTime time(fields.wHour, fields.wMinute, fields.wSecond);
    if (!date.isValid() || !time.isValid()) {
        return {};
    }
    return QDateTime(date, time, Qt::UTC);
}

SystemTime CDatePicker::ToSystemTime(const QDateTime& value) {
    const QDate date = value.date();
    const QTime time = value.time();
    SystemTime out;
    out.wYear = static_cast<std::uint16_t>(date.year());
    out.wMonth = static_cast<std::uint16_t>(date.month());
    out.wDayOfWeek = static_cast<std::uint16_t>(date.dayOfWeek() % 7);
    out.wDay = static_cast<std::uint16_t>(date.day());
    out.wHour = static_cast<std::uint16_t>(time.hour());
    out.wMinute = static_cast<std::uint16_t>(time.minute());
    out.wSecond = static_cast<std::uint16_t>(time.second());
    return out;
}

CDatePicker::GetResult CDatePicker::GetTime(SystemTime& out) const {
    const QDateTime value = dateTime();
    if (!value.isValid()) {
        return GetResult::Error;
    }
    out = ToSystemTime(value);
    return GetResult::Valid;
}

bool CDatePicker::SetTime(const SystemTime& fields) {
    QDateTime value = ToDateTime(fields);
    if (!value.isValid()) {
        return false;
    }
    // Qt wraps an out-of-range write to the other end while wrapping is on;
    // the picker keeps the nearest bound instead.
    if (value < minimumDateTime()) {
        value = minimumDateTime();
    } else if (value > maximumDateTime()) {
        value = maximumDateTime();
    }
    WriteSilently(value);
    return true;
}

bool CDatePicker::SetNoDate() {
    return false;
}

void CDatePicker::SetRange(const SystemTime& minimum, const SystemTime& maximum) {
    const QDateTime low = ToDateTime(minimum);
    const QDateTime high = ToDateTime(maximum);
    if (!low.isValid() || !high.isValid() || high < low) {
        return;
    }
    QDateTime value = dateTime();
    value = value < low ? low : (value > high ? high : value);
    const QSignalBlocker blocker(this);
    // Clamp first so that Qt never wraps the held value into the new range.
    setDateTime(value);
    setDateTimeRange(low, high);
    setDateTime(value);
}

void CDatePicker::SetFormat(const QString& pattern) {
    // Changing the display pattern makes QDateTimeEdit drop the time of day.
    const QDateTime value = dateTime();
    const QSignalBlocker blocker(this);
    setDisplayFormat(pattern);
    setDateTime(value);
}

namespace {

// 1899-12-30, day 0 of the program's day count.
constexpr qint64 kDayZeroJulian = 2415019;

double DayNumber(const QDate& date) {
    return static_cast<double>(date.toJulianDay() - kDayZeroJulian);
}

} // namespace

double CDatePicker::DayValue() const {
    return DayNumber(date());
}

double CDatePicker::MinimumDayValue() const {
    return DayNumber(minimumDate());
}

double CDatePicker::MaximumDayValue() const {
    return DayNumber(maximumDate());
}

void CDatePicker::SetDayValue(double day) {
    if (!(day >= MinimumDayValue() && day <= MaximumDayValue())) {
        return; // NaN too
    }
    const QDate target = QDate::fromJulianDay(static_cast<qint64>(day) + kDayZeroJulian);
    QDateTime value = dateTime();
    value.setDate(target);
    value = std::clamp(value, minimumDateTime(), maximumDateTime());
    if (value == dateTime()) {
        return;
    }
    // As typing does, this turns the month-wrap correction off first.
    emit KeyDown(0);
    setDateTime(value);
}

void CDatePicker::WriteSilently(const QDateTime& value) {
    const QSignalBlocker blocker(this);
    setDateTime(value);
}

void CDatePicker::contextMenuEvent(QContextMenuEvent* event) {
    // The Menu key opens the window's menu, not the line edit's.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        event->ignore();
        return;
    }
    QDateTimeEdit::contextMenuEvent(event);
}

bool CDatePicker::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        emit KeyDown(static_cast<QKeyEvent*>(e)->key());
    }
    return QDateTimeEdit::event(e);
}

} // namespace norvale
