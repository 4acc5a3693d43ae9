#pragma once

#include "core/DateValue.h"
#include "core/MoonDay.h"
#include "shading/Shading.h"

#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QHelpEvent;

namespace norvale {

// What the picture needs of the window that holds it. The picture lies in a
// layer below the main window (the window links the picture, never the other
// way round), so it reaches its window only through this interface instead of
// a process-wide pointer to the main window: the main window implements it,
// and the picture's tests stand in a small fake for it.
class MoonImageHost {
public:
    virtual ~MoonImageHost();
    // The hemisphere setting, read at every paint (true = Northern).
    virtual bool IsNorthern() const = 0;
    // The "Today" operation, run on a double click.
    virtual void OnToday() = 0;
    // Opens the pop-up menu with its top-left corner at a global position.
    virtual void OpenMenuAt(const QPoint& globalPos) = 0;
};

// Where the picture takes the star seed of each paint; empty: the clock's
// current second.
using StarSeedSource = std::function<std::uint32_t()>;

// The Moon picture control: a black panel with the shaded Moon of m_date,
// stars and three text lines. Attach it once the widget has its final size.
// Its tooltip and its accessible help text give the true sky of m_date
// (TrueSkyText); the accessible name and description are the panel's lines.
class CMoonImage : public QWidget {
    Q_OBJECT

public:
    explicit CMoonImage(QWidget* parent = nullptr);
    ~CMoonImage() override;

    // Prepares geometry (from the current client size) and date (Now);
    // the host is read at every paint and on the mouse gestures.
    void Attach(MoonImageHost* host);
    bool IsAttached() const { return m_host != nullptr; }

    // Where each paint takes its star seed; empty restores the clock.
    void SetStarSeedSource(StarSeedSource source);

    // Updates the accessible name (caption) and description (age and
    // illumination lines) from m_date; called by every paint and by the
    // window after m_date changes.
    void RefreshAccessibleText();

    // The Moon of m_date against today. Made again only when m_date or
    // today's calendar day has changed since the last call, so one new day
    // is computed once for its paint and its accessible text, and a picture
    // left open across midnight is captioned anew at its next paint.
    const MoonDay& ShownDay();

    // The true sky at m_date (TrueSkyText): made when the tooltip or the
    // accessible help text asks for it, and kept for that day, so stepping
    // the day and painting it never compute the sky.
    const std::string& SkyText();

    const PictureGeometry& Geometry() const { return m_geometry; }

    // The shown day (and time of day). Write it, then repaint().
    DateValue m_date{0.0, DateStatus::valid};

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    void OnPaint();
    void OnLButtonDown(QMouseEvent* event);
    void OnLButtonDblClk(QMouseEvent* event);
    void OnRButtonUp(QMouseEvent* event);
    void OnToolTip(QHelpEvent* event);

private:
    std::uint32_t NextStarSeed() const;

    MoonImageHost* m_host = nullptr;
    PictureGeometry m_geometry;
    StarSeedSource m_starSeedSource;
    // The last day ShownDay made, and the today it was captioned against.
    std::optional<MoonDay> m_shownDay;
    DateValue m_shownToday{0.0, DateStatus::invalid};
    // The last true sky SkyText made, and the day it was made for.
    struct SkyTextOfDay {
        DateValue date;
        std::string text;
    };
    std::optional<SkyTextOfDay> m_skyText;
};

} // namespace norvale
