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
class CDatePicker : public QDateTimeEdit {
    Q_OBJECT

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
