#include "app/NorvaleDlg.h"

#include "app/Commands.h"
#include "app/DialogLayout.h"
#include "app/OwnTitleBar.h"
#include "controls/HelpWindow.h"
#include "core/DayRange.h"
#include "core/Texts.h"
#include "ui/Accessible.h"
#include "ui/Contrast.h"
#include "ui/Fonts.h"
#include "ui/Icons.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QFrame>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>

#include <iostream>

namespace norvale {

namespace {

// A settings file the program refuses to touch (another user's link or
// folder on the way) is told in one line on stderr; every other failure stays
// silent, as the window's failures do.
void TellRefusal(const char* what, const FileResult& result) {
    if (result.refused) {
        std::cerr << "norvale: settings " << what << ": " << PrintableText(result.message) << '\n';
    }
}

bool PlatformReportsWindowPositions() {
    return !OnWayland();
}

} // namespace

CDialogFontWindow::CDialogFontWindow(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags) {
    setFont(DialogFont());
}

CNorvaleDlg::CNorvaleDlg(QWidget* parent)
    : CDialogFontWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                    Qt::WindowCloseButtonHint),
      m_todayLink(QString::fromLatin1(MainWindowItem(IDC_TODAY).text), this),
      m_prevLink(QString::fromLatin1(MainWindowItem(IDC_PREV).text), this),
      m_nextLink(QString::fromLatin1(MainWindowItem(IDC_NEXT).text), this), m_datePicker(this),
      m_menu(*this, [this](int id) { OnCommand(id, 0); }) {
    setWindowTitle(QStringLiteral("Norvale"));
    SetAccessibleRole(this, QAccessible::Window);
    m_placement.SetPositionsKnown(PlatformReportsWindowPositions());
    CreateControls();
    ConnectControls();
    setFixedSize(MainClientPixelSize());
    UseOwnTitleBarOnWayland(*this);
    // Icon 128 alone: the scalable and larger sizes would load an image
    // plugin at start-up for no visible gain at this window's size.
    m_hIcon = QIcon(QString::fromLatin1(kIconPath));
}

CNorvaleDlg::~CNorvaleDlg() {
    // The help windows belong to the main window: they go with it.
    CHelpWindow::CloseAll();
}

void CNorvaleDlg::CreateControls() {
    // Template order is the tab and stacking order.
    for (const DialogItem& item : MainWindowItems()) {
        const QRect rect = ItemPixelRect(item);
        switch (item.kind) {
        case ItemKind::Link: {
            CSimpleLink& link = item.id == IDC_TODAY
                                    ? m_todayLink
                                    : (item.id == IDC_PREV ? m_prevLink : m_nextLink);
            link.setGeometry(rect);
            link.setAlignment(item.id == IDC_TODAY  ? Qt::AlignHCenter | Qt::AlignTop
                              : item.id == IDC_NEXT ? Qt::AlignRight | Qt::AlignTop
                                                    : Qt::AlignLeft | Qt::AlignVCenter);
            link.raise();
            break;
        }
        case ItemKind::DatePicker:
            m_datePicker.setGeometry(rect);
            m_datePicker.SetFormat(
                QString::fromStdString(DateFormatPattern(kDefaultDateFormat, true)));
            m_datePicker.setAccessibleName(QStringLiteral("Date"));
            m_datePicker.raise();
            break;
        case ItemKind::PictureFrame:
            // The frame has a one-pixel sunken edge; the picture fills the rest.
            m_pPictureFrame = new QFrame(this);
            // Only a border round the picture: a plain container to screen
            // readers, not a "frame" (a window to them).
            SetAccessibleRole(m_pPictureFrame, QAccessible::Client);
            m_pPictureFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            m_pPictureFrame->setLineWidth(1);
            m_pPictureFrame->setGeometry(rect);
            m_moonImage.setParent(m_pPictureFrame);
            m_moonImage.setGeometry(
                rect.adjusted(0, 0, -2, -2).translated(1 - rect.x(), 1 - rect.y()));
            m_pPictureFrame->raise();
            break;
        case ItemKind::PushButton:
            m_pMenuButton = new QPushButton(QString::fromLatin1(item.text), this);
            m_pMenuButton->setGeometry(rect);
            m_pMenuButton->setAutoDefault(false);
            m_pMenuButton->setAccessibleName(QString::fromLatin1(item.text));
            break;
        case ItemKind::HiddenButton:
            m_pToggleButton = new QPushButton(QString::fromLatin1(item.text), this);
            m_pToggleButton->setGeometry(rect);
            m_pToggleButton->hide();
            break;
        }
    }
    // The picture is a tab stop too, the last one.
    setTabOrder(&m_datePicker, m_pMenuButton);
    setTabOrder(m_pMenuButton, m_pToggleButton);
    setTabOrder(m_pToggleButton, &m_moonImage);
}

void CNorvaleDlg::ConnectControls() {
    connect(&m_datePicker, &CDatePicker::DateTimeChange, this, &CNorvaleDlg::OnDateTimeChange);
    connect(&m_datePicker, &CDatePicker::KeyDown, this, &CNorvaleDlg::OnPickerKeyDown);
    connect(&m_todayLink, &CSimpleLink::clicked, this, &CNorvaleDlg::OnToday);
    connect(&m_nextLink, &CSimpleLink::clicked, this, &CNorvaleDlg::OnNext);
    connect(&m_nextLink, &CSimpleLink::doubleClicked, this, &CNorvaleDlg::OnNextDblClk);
    connect(&m_prevLink, &CSimpleLink::clicked, this, &CNorvaleDlg::OnPrev);
    connect(&m_prevLink, &CSimpleLink::doubleClicked, this, &CNorvaleDlg::OnPrevDblClk);
    connect(m_pMenuButton, &QPushButton::clicked, this, &CNorvaleDlg::OnMenuButton);
    connect(m_pToggleButton, &QPushButton::clicked, this, &CNorvaleDlg::OnToggleButton);
    // The picker and "Menu" are described by the shown day, so a screen
    // reader on either hears a new day as a description change.
    connect(&m_moonImage, &CMoonImage::AccessibleNameChanged, this, [this](const QString& day) {
        m_datePicker.setAccessibleDescription(day);
        m_pMenuButton->setAccessibleDescription(day);
    });
    CreateShortcuts();
}

void CNorvaleDlg::SetCommandObserver(CommandObserver observer) {
    m_commandObserver = std::move(observer);
}

// ---------------------------------------------------------------------------
// Running and ending

void CNorvaleDlg::Create() {
    if (m_bInitialised) {
        return;
    }
    OnInitDialog();
    m_bInitialised = true;
    show();
    AdoptFrameIfChanged();
}

void CNorvaleDlg::AdoptFrameIfChanged() {
    if (m_bInitialised && !m_bEnded) {
        m_placement.AdoptFrameIfChanged(m_settings);
    }
}

int CNorvaleDlg::DoModal() {
    Create();
    if (!m_bEnded) {
        QEventLoop loop;
        m_pLoop = &loop;
        loop.exec();
        m_pLoop = nullptr;
    }
    return m_result;
}

void CNorvaleDlg::EndDialog(int result) {
    m_result = result;
    m_bEnded = true;
    // The help window goes with the program.
    CHelpWindow::CloseAll();
    hide();
    if (m_pLoop != nullptr) {
        m_pLoop->exit(result);
    }
}

void CNorvaleDlg::StoreAndSave() {
    m_placement.StorePosition(m_settings);
    FileResult result;
    if (!SaveSettings(m_settings, &result)) {
        TellRefusal("not saved", result);
    }
}

void CNorvaleDlg::OnOK() {
    StoreAndSave();
    EndDialog(IDOK);
}

void CNorvaleDlg::OnCancel() {
    EndDialog(IDCANCEL);
}

void CNorvaleDlg::OnClose() {
    StoreAndSave();
    // The close request ends through the cancel path, without a second save.
    OnCancel();
}

void CNorvaleDlg::OnQuitRequest() {
    // A pop-up menu and the About box run event loops of their own; they go
    // first, so nothing is left waiting on a window that has ended.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != this) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }
    if (!m_bEnded) {
        OnCommand(ID_CLOSE, 0);
    }
}

void CNorvaleDlg::OnSessionSave() {
    if (!m_bEnded) {
        StoreAndSave();
    }
}

void CNorvaleDlg::closeEvent(QCloseEvent* event) {
    if (!m_bEnded) {
        OnClose();
    }
    event->accept();
}

// ---------------------------------------------------------------------------
// Start-up

bool CNorvaleDlg::OnInitDialog() {
    DoDataExchange();
    setWindowIcon(m_hIcon);
    m_bSuppressDayWrap = true;

    m_placement.Measure();

    const QPoint toggle = m_pToggleButton->geometry().topLeft();
    m_rcToggleFull = {toggle.x(), toggle.y(), toggle.x() + kToggleBoxW, toggle.y() + kToggleBoxH};
    m_rcToggleCompact = m_rcToggleFull.Offset(0, -kToggleCompactRise);

    m_placement.Resize(FullHeight() - kStartupShortening);

    FileResult loaded;
    if (!LoadSettings(m_settings, &loaded)) {
        TellRefusal("not read", loaded);
        FileResult made;
        CreateSettingsFolder(m_settings, &made);
        if (!loaded.refused) {
            TellRefusal("folder not made", made); // one line, not the same twice
        }
    }
    m_placement.RememberLoadedCorner(m_settings);

    BuildMenus();
    ApplyStoredSettings();

    m_prevLink.SetTooltipText(QStringLiteral("Previous Day"));
    m_nextLink.SetTooltipText(QStringLiteral("Next Day"));
    m_todayLink.SetTooltipText(QStringLiteral("Go to Today"));

    SetPickerRange();
    m_selectedDate = DateValue::Now();

    // In the compact layout the button is hidden: the picture takes the focus.
    if (m_settings.bFull) {
        m_pMenuButton->setFocus(Qt::OtherFocusReason);
    } else {
        m_moonImage.setFocus(Qt::OtherFocusReason);
    }
    return false;
}

void CNorvaleDlg::DoDataExchange() {
    m_moonImage.Attach(this);
    m_todayLink.Attach();
    m_prevLink.Attach();
    m_nextLink.Attach();
}

void CNorvaleDlg::ApplyStoredSettings() {
    m_settings.bFull = !m_settings.bFull;
    OnCommand(ID_LAYOUT_TOGGLE, 0);

    // Only a date-layout command is replayed: an index without one keeps the
    // picker on the default row and is saved back unchanged.
    if (const int id = DateFormatCommand(m_settings.nDateFormat); id != 0) {
        OnCommand(id, 0);
    }

    m_settings.bNorthern = !m_settings.bNorthern;
    OnCommand(m_settings.bNorthern ? ID_SOUTHERN : ID_NORTHERN, 0);

    m_placement.Place(m_settings.bFull ? FullHeight() : FullHeight() - kCompactHeightCut,
                      m_settings);
}

void CNorvaleDlg::SetPickerRange() {
    SystemTime low;
    SystemTime high;
    DateValue minimum;
    minimum.FromFields(kFirstRangeDay.year, kFirstRangeDay.month, kFirstRangeDay.day, 12, 59, 59);
    DateValue maximum;
    maximum.FromFields(kLastRangeDay.year, kLastRangeDay.month, kLastRangeDay.day, 12, 59, 59);
    if (minimum.ToFields(low) && maximum.ToFields(high)) {
        m_datePicker.SetRange(low, high);
    }
}

bool CNorvaleDlg::event(QEvent* e) {
    const bool handled = QWidget::event(e);
    switch (e->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
        AdoptFrameIfChanged();
        break;
    case QEvent::WindowActivate:
        AdoptFrameIfChanged();
        // Back from the About box or the help window: in the compact layout
        // the focus is on the picture, never on nothing.
        FocusPictureIfCompact();
        break;
    default:
        break;
    }
    return handled;
}

// ---------------------------------------------------------------------------
// Painting and the toggle box

void CNorvaleDlg::paintEvent(QPaintEvent* /*event*/) {
    OnPaint();
}

QColor CNorvaleDlg::ToggleOutlineColour() const {
    return ReadableOn(palette().color(QPalette::Shadow), palette().color(QPalette::Window),
                      kMinimumControlContrast);
}

QColor CNorvaleDlg::ToggleFillColour() const {
    return ReadableOn(palette().color(QPalette::Dark), palette().color(QPalette::Window),
                      kMinimumControlContrast);
}

void CNorvaleDlg::OnPaint() {
    QPainter painter(this);
    // The palette's shadow and dark colours, each where it reaches 3:1
    // against the window (a mid-grey scheme brings them close to it).
    painter.setPen(QPen(ToggleOutlineColour(), 1));
    painter.setBrush(ToggleFillColour());
    QPolygon triangle;
    if (m_settings.bFull) {
        const PixelRect& r = m_rcToggleFull;
        triangle << QPoint(r.left, r.bottom) << QPoint(r.left + r.Width() / 2, r.top)
                 << QPoint(r.right, r.bottom);
    } else {
        const PixelRect& r = m_rcToggleCompact;
        triangle << QPoint(r.left, r.top) << QPoint(r.left + r.Width() / 2, r.bottom)
                 << QPoint(r.right, r.top);
    }
    painter.drawPolygon(triangle);
}

void CNorvaleDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLButtonUp(event->position().toPoint());
    }
    QWidget::mouseReleaseEvent(event);
}

} // namespace norvale
