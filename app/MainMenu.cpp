#include "app/MainMenu.h"

#include "app/Commands.h"
#include "core/Texts.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <utility>

namespace norvale {

CMainMenu::CMainMenu(QWidget& owner, CommandSink sink)
    : m_owner(owner), m_main(&owner), m_timeFormat(&owner), m_help(&owner), m_hemisphere(&owner),
      m_sink(std::move(sink)) {}

QAction* CMainMenu::AddCommand(QMenu& menu, int id, const QString& text) {
    QAction* action = menu.addAction(text);
    action->setData(id);
    QObject::connect(action, &QAction::triggered, &m_owner, [this, id] { m_sink(id); });
    return action;
}

QAction* CMainMenu::Action(int id) const {
    for (const QMenu* menu : {&m_main, &m_timeFormat, &m_help, &m_hemisphere}) {
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->menu() == nullptr &&
                action->data().toInt() == id) {
                return action;
            }
        }
    }
    return nullptr;
}

void CMainMenu::CheckRadioItem(int first, int last, int check) {
    for (int id = first; id <= last; ++id) {
        if (QAction* action = Action(id); action != nullptr) {
            action->setChecked(id == check);
        }
    }
}

void CMainMenu::Build(bool full) {
    // A choice of the hemisphere already set must keep its mark: an exclusive
    // group never unchecks the item chosen.
    auto* hemispheres = new QActionGroup(&m_hemisphere);
    hemispheres->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (const auto& [id, text] : {std::pair{ID_NORTHERN, "Northern"}, {ID_SOUTHERN, "Southern"}}) {
        QAction* action = AddCommand(m_hemisphere, id, QString::fromLatin1(text));
        action->setCheckable(true);
        hemispheres->addAction(action);
    }

    AddCommand(m_help, ID_HELP_TOPICS, QStringLiteral("Help Topics      F1"));
    AddCommand(m_help, ID_LATEST_VERSION, QStringLiteral("Latest Version"));
    AddCommand(m_help, ID_HOME_PAGE, QStringLiteral("Home page"));
    AddCommand(m_help, ID_CONTACT_FORM, QStringLiteral("Contact form"));
    m_help.addSeparator();
    AddCommand(m_help, ID_ABOUT, QStringLiteral("About..."));

    // Stored indexes 6-9 leave the date layouts without a mark.
    auto* formats = new QActionGroup(&m_timeFormat);
    formats->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int i = 0; i < kShownDateFormats; ++i) {
        QAction* action = AddCommand(m_timeFormat, ID_DATE_FORMAT_FIRST + i,
                                     QString::fromStdString(DateFormatPattern(i, true)));
        action->setCheckable(true);
        formats->addAction(action);
    }

    AddCommand(m_main, ID_LAYOUT_TOGGLE, QString());
    SetLayoutText(full);
    m_main.addSeparator();
    m_timeFormat.setTitle(QStringLiteral("Time Format"));
    m_main.addMenu(&m_timeFormat);
    m_hemisphere.setTitle(QStringLiteral("Hemisphere"));
    m_main.addMenu(&m_hemisphere);
    m_main.addSeparator();
    m_help.setTitle(QStringLiteral("Help"));
    m_main.addMenu(&m_help);
    m_main.addSeparator();
    AddCommand(m_main, ID_CLOSE, QStringLiteral("Close"));
}

void CMainMenu::SetLayoutText(bool full) {
    if (QAction* item = Action(ID_LAYOUT_TOGGLE); item != nullptr) {
        item->setText(full ? QStringLiteral("Compact") : QStringLiteral("Full"));
    }
}

void CMainMenu::RetextTimeFormats(const DateValue& day, int dateFormat) {
    for (int i = 0; i < kShownDateFormats; ++i) {
        if (QAction* action = Action(ID_DATE_FORMAT_FIRST + i); action != nullptr) {
            action->setText(QString::fromStdString(day.Format(DateFormatPattern(i, false))));
        }
    }
    CheckRadioItem(ID_DATE_FORMAT_FIRST, ID_DATE_FORMAT_SHOWN_LAST, DateFormatCommand(dateFormat));
}

void CMainMenu::PopupAt(const QPoint& globalPos) {
    m_main.popup(globalPos);
}

void CMainMenu::ActivateFirstItem() {
    const QList<QAction*> items = m_main.actions();
    if (!items.isEmpty()) {
        m_main.setActiveAction(items.front());
    }
}

} // namespace norvale
