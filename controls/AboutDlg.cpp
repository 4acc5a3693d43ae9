#include "controls/AboutDlg.h"

#include "controls/Web.h"
#include "ui/DialogUnits.h"
#include "ui/Fonts.h"
#include "ui/Icons.h"
#include "version/Version.h"

#include <QLabel>
#include <QPushButton>

namespace norvale {

namespace {

// Dialog layout 100 in dialog units.
constexpr int kDialogWidthDu = 187;
constexpr int kDialogHeightDu = 95;
// The icon control takes the size of the icon it shows.
constexpr int kIconSize = 32;

QLabel* AddStatic(QWidget* parent, const QString& text, const QRect& du, Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(align | Qt::AlignTop);
    label->setGeometry(DialogRect(du.x(), du.y(), du.width(), du.height()));
    return label;
}

void PlaceLink(CSimpleLink& link, const QString& caption, const QRect& du) {
    link.setText(caption);
    link.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    link.setFocusPolicy(Qt::NoFocus);
    link.setGeometry(DialogRect(du.x(), du.y(), du.width(), du.height()));
}

} // namespace

const char* const CAboutDlg::kNotice = "Free software (MIT). Moon maps: public domain.";

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_homeLink(this), m_contactLink(this) {
    BuildLayout();
    DoDataExchange();
    OnInitDialog();
}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::BuildLayout() {
    setWindowTitle(QStringLiteral("About Norvale"));
    // Modal to its own window only: the help window its links may open
    // stays usable beside it.
    setWindowModality(Qt::WindowModal);
    setWindowIcon(AppIcon());
    setFont(DialogFont());
    setFixedSize(DialogUnitsToPixelsX(kDialogWidthDu), DialogUnitsToPixelsY(kDialogHeightDu));

    // The items in the layout's order.
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(AppIconPixmap());
    const QRect iconRect = DialogRect(7, 13, 20, 20);
    icon->setGeometry(iconRect.x(), iconRect.y(), kIconSize, kIconSize);

    QLabel* version =
        AddStatic(this, QStringLiteral("Norvale Version ") + QString::fromLatin1(kVersion),
                  QRect(49, 8, 131, 8), Qt::AlignLeft);
    version->setObjectName(QStringLiteral("version"));
    QLabel* notice =
        AddStatic(this, QString::fromLatin1(kNotice), QRect(7, 56, 173, 10), Qt::AlignHCenter);
    notice->setObjectName(QStringLiteral("notice"));

    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("ok"));
    m_okButton->setGeometry(DialogRect(128, 73, 52, 15));
    m_okButton->setDefault(true);
    m_okButton->setAutoDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    m_contactLink.setObjectName(QStringLiteral("contactLink"));
    PlaceLink(m_contactLink, QStringLiteral("contact form"), QRect(98, 36, 42, 8));
    m_homeLink.setObjectName(QStringLiteral("homeLink"));
    PlaceLink(m_homeLink, MakerHost(), QRect(98, 24, 82, 8));

    QLabel* homeCaption =
        AddStatic(this, QStringLiteral("Home page:"), QRect(49, 24, 40, 8), Qt::AlignLeft);
    QLabel* supportCaption =
        AddStatic(this, QStringLiteral("Support:"), QRect(49, 36, 29, 8), Qt::AlignLeft);

    // Screen readers hear each link with its caption, and the items in the
    // order they are laid out: their order among the children is the order
    // accessibility reads, and raise() puts each at the end of it.
    icon->setAccessibleName(QStringLiteral("Norvale"));
    homeCaption->setBuddy(&m_homeLink);
    supportCaption->setBuddy(&m_contactLink);
    m_homeLink.setAccessibleName(homeCaption->text() + QLatin1Char(' ') + m_homeLink.text());
    m_contactLink.setAccessibleName(supportCaption->text() + QLatin1Char(' ') +
                                    m_contactLink.text());
    const QList<QWidget*> readingOrder{icon,           version,        homeCaption, &m_homeLink,
                                       supportCaption, &m_contactLink, notice,      m_okButton};
    for (QWidget* item : readingOrder) {
        item->raise();
    }

    // "OK" is the only stop of the Tab key and has the focus at the start.
    m_okButton->setFocus();
}

void CAboutDlg::DoDataExchange() {
    m_homeLink.Attach();
    m_contactLink.Attach();
}

void CAboutDlg::OnInitDialog() {
    m_homeLink.SetTarget(PageUrl(kHomePage).toString());
    m_contactLink.SetTarget(PageUrl(kContactPage).toString());
    m_contactLink.SetTooltipText(QStringLiteral("Send email to support"));
}

} // namespace norvale
