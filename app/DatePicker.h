#pragma once

#include "core/SystemTime.h"

#include <QDateTime>
#include <QDateTimeEdit>
#include <QString>

namespace norvale {

// The date picker of the main window: an up-down picker (no calendar pop-up)
// whose day, month and year fields step with the arrows and wrap within their
// range, the day within its month. It holds a date and a time of day as plain
// wall-clock fields (no time zone, so no daylight-saving gaps).
//
// Only the user's changes raise DateTimeChange(); every value the program
// writes is silent. Every key typed raises KeyDown() before the change the key
// causes is reported. A value written outside the allowed range is clamped to
// the nearest bound, never wrapped to the other end; a value typed outside it
// is dropped and the previous one stays. The Menu key is left to the window:
// the picker shows no menu of its own for it.
//
// To screen readers the picker's value is its day as a whole number of days
// since 1899-12-30, within the allowed range and stepped by one day: Qt's
// accessible spin box reads and writes the properties "value", "minimum",
// "maximum" and "stepSize", and its Increase and Decrease actions step the
// value. A day set that way is a change by the user, as a typed one is.
class CDatePicker : public QDateTimeEdit {
    Q_OBJECT
    Q_PROPERTY(double value READ DayValue WRITE SetDayValue)
    Q_PROPERTY(double minimum READ MinimumDayValue)
    Q_PROPERTY(double maximum READ MaximumDayValue)
    Q_PROPERTY(double stepSize READ DayStep)

public:
    // What GetTime found, as the platform picker reports it.
    enum class GetResult { Valid, NoDate, Error };

    explicit CDatePicker(QWidget* parent = nullptr);
    ~CDatePicker() override;

    GetResult GetTime(SystemTime& out) const;
    // Writes a valid time; false (and no change) when the fields name no
    // calendar date and time.
    bool SetTime(const SystemTime& fields);
    // The "no date" write: this picker always holds a date, so it refuses.
    bool SetNoDate();

    void SetRange(const SystemTime& minimum, const SystemTime& maximum);
    // Display pattern in the picker's language ("dd-MMM-yyyy"); the value,
    // including its time of day, stays as it was.
    void SetFormat(const QString& pattern);

    // The day held, and the range's ends, in days since 1899-12-30.
    double DayValue() const;
    double MinimumDayValue() const;
    double MaximumDayValue() const;
    static double DayStep() { return 1.0; }
    // Moves to the day given in days since 1899-12-30 (the fraction is
    // dropped), keeping the time of day; a day outside the range is refused.
    void SetDayValue(double day);

    static QDateTime ToDateTime(const SystemTime& fields);
    static SystemTime ToSystemTime(const QDateTime& value);

signals:
    void DateTimeChange();
    void KeyDown(int key);

protected:
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void WriteSilently(const QDateTime& value);
};

} // namespace norvale
