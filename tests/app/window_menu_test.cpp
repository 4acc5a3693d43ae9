// The pop-up menu, the commands and the start-up replay of the settings.
#include "tests/app/window_fixture.h"

#include "core/Moon.h"
#include "core/Texts.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <climits>
#include <utility>

namespace norvale::test {
namespace {

// Texts and ids of a menu's items; separators read "-", sub-menus their title.
std::vector<std::pair<QString, int>> Items(const QMenu& menu) {
    std::vector<std::pair<QString, int>> items;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            items.emplace_back(QStringLiteral("-"), 0);
        } else if (action->menu() != nullptr) {
            items.emplace_back(action->menu()->title(), -1);
        } else {
            items.emplace_back(action->text(), action->data().toInt());
        }
    }
    return items;
}

// Counts the paints a widget receives.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

using MenuTest = WindowTest;

TEST_F(MenuTest, MenuTreeHasItsTextsIdsAndSeparators) {
    CNorvaleDlg& dlg = Start();
    using V = std::vector<std::pair<QString, int>>;
    EXPECT_EQ(Items(dlg.MenuMain()), (V{{"Compact", 310},
                                        {"-", 0},
                                        {"Time Format", -1},
                                        {"Hemisphere", -1},
                                        {"-", 0},
                                        {"Help", -1},
                                        {"-", 0},
                                        {"Close", 315}}));
    EXPECT_EQ(Items(dlg.MenuHelp()), (V{{"Help Topics      F1", 320},
                                        {"Latest Version", 321},
                                        {"Home page", 322},
                                        {"Contact form", 323},
                                        {"-", 0},
                                        {"About...", 329}}));
    EXPECT_EQ(Items(dlg.MenuHemisphere()), (V{{"Northern", 340}, {"Southern", 341}}));
    EXPECT_EQ(Items(dlg.MenuTimeFormat()), (V{{"06/12/2026", 330},
                                              {"06/Dec/2026", 331},
                                              {"06.12.2026", 332},
                                              {"06.Dec.2026", 333},
                                              {"06-12-2026", 334},
                                              {"06-Dec-2026", 335}}));
}

TEST_F(MenuTest, LayoutSwitchesKeepTheCornerAndTheItemText) {
    CNorvaleDlg& dlg = Start();
    dlg.move(200, 100);
    const PixelRect full = dlg.ReadWindowRect();
    const char* texts[] = {"Full", "Compact", "Full", "Compact"};
    for (int i = 0; i < 4; ++i) {
        dlg.MenuAction(ID_LAYOUT_TOGGLE)->trigger();
        const bool compact = i % 2 == 0;
        const PixelRect now = dlg.ReadWindowRect();
        EXPECT_EQ(QPoint(now.left, now.top), QPoint(full.left, full.top));
        EXPECT_EQ(now.Height(), full.Height() - (compact ? 30 : 0));
        EXPECT_EQ(dlg.size(), QSize(149, compact ? 189 : 219));
        EXPECT_EQ(ItemText(ID_LAYOUT_TOGGLE), QString::fromLatin1(texts[i]));
        EXPECT_EQ(dlg.DatePicker().isVisible(), !compact);
        EXPECT_EQ(dlg.MenuButton()->isVisible(), !compact);
        EXPECT_EQ(dlg.ToggleButton()->geometry().top(), compact ? 180 : 210);
    }
}

TEST_F(MenuTest, ReleaseInsideTheToggleBoxSwitchesAndOnePixelOutsideDoesNot) {
    CNorvaleDlg& dlg = Start();
    struct Case {
        QPoint point;
        bool switches;
    };
    // Full layout box (69, 210)-(77, 214), compact (69, 181)-(77, 185).
    const Case fullCases[] = {{{69, 210}, true},  {{76, 213}, true},  {{77, 210}, false},
                              {{69, 214}, false}, {{68, 212}, false}, {{72, 181}, false}};
    const Case compactCases[] = {{{69, 181}, true},
                                 {{76, 184}, true},
                                 {{77, 184}, false},
                                 {{76, 185}, false},
                                 {{72, 210}, false}};
    for (const auto& [cases, full] : {std::pair{std::span<const Case>(fullCases), true},
                                      std::pair{std::span<const Case>(compactCases), false}}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.point.x() << "," << c.point.y());
            if (dlg.Settings().bFull != full) {
                dlg.OnCommand(ID_LAYOUT_TOGGLE, 0);
            }
            m_commands.clear();
            QTest::mouseRelease(&dlg, Qt::LeftButton, {}, c.point);
            EXPECT_EQ(dlg.Settings().bFull, c.switches ? !full : full);
            EXPECT_EQ(m_commands, c.switches ? std::vector<int>{310} : std::vector<int>{});
        }
    }
    m_commands.clear();
    dlg.ToggleButton()->click();
    EXPECT_EQ(m_commands, std::vector<int>{310});
}

// F1 (also from the picker), "Help Topics", "Latest Version", "Home page" and
// "Contact form": the maker's pages when a web address is configured, the
// offline help's sections while none is.
TEST_F(MenuTest, PagesOpenTheWebSiteOrTheOfflineHelp) {
    for (const bool web : {true, false}) {
        SCOPED_TRACE(web ? "web address configured" : "none configured");
        SetWebBase(web ? QStringLiteral("http://norvale.example") : QString());
        m_opened.clear();
        m_helpSections.clear();
        CNorvaleDlg& dlg = Start();
        QTest::keyClick(&dlg, Qt::Key_F1);
        dlg.DatePicker().setFocus();
        QTest::keyClick(&dlg.DatePicker(), Qt::Key_F1);
        for (const int id : {ID_HELP_TOPICS, ID_LATEST_VERSION, ID_HOME_PAGE, ID_CONTACT_FORM}) {
            dlg.MenuAction(id)->trigger();
        }
        const QString host = MakerHost();
        const QString help = "http://" + host + "/Norvale/help/?from=Norvale";
        const QString product = "http://" + host + "/Norvale/?from=Norvale";
        const QString contact = "http://" + host + "/contact.php?from=Norvale";
        std::vector<QString> opened;
        for (const QUrl& url : m_opened) {
            opened.push_back(url.toString());
        }
        EXPECT_EQ(opened, web ? (std::vector<QString>{help, help, help, product, product, contact})
                              : std::vector<QString>{});
        EXPECT_EQ(m_helpSections,
                  web ? std::vector<QString>{}
                      : (std::vector<QString>{"", "", "", "version", "home", "contact"}));
        EXPECT_FALSE(dlg.IsEnded());
        m_dlg.reset();
    }
}

TEST_F(MenuTest, AboutRunsModallyAndReturnsToTheWindow) {
    CNorvaleDlg& dlg = Start();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr) {
            shown = modal->windowTitle();
            modal->close();
        }
    });
    dlg.MenuAction(ID_ABOUT)->trigger();
    EXPECT_EQ(shown, QStringLiteral("About Norvale"));
    EXPECT_FALSE(dlg.IsEnded());
    EXPECT_TRUE(m_opened.empty());
}

// A quit request (a signal) while the About box or the pop-up menu runs must
// close it first: the window ends, saved, instead of hanging in the box.
TEST_F(MenuTest, QuitRequestClosesTheAboutBoxOrTheMenuThenSaves) {
    for (const bool about : {true, false}) {
        SCOPED_TRACE(about ? "About box" : "pop-up menu");
        std::filesystem::remove(SettingsFile());
        CNorvaleDlg& dlg = Start();
        bool wasOpen = false;
        if (about) {
            QTimer::singleShot(0, &dlg, [&] {
                QTimer::singleShot(0, &dlg, [&] {
                    wasOpen = QApplication::activeModalWidget() != nullptr;
                    dlg.OnQuitRequest();
                });
                dlg.MenuAction(ID_ABOUT)->trigger(); // returns once the box is closed
            });
        } else {
            dlg.OpenMenuAt(dlg.mapToGlobal(QPoint(10, 10)));
            wasOpen = dlg.MenuMain().isVisible();
            dlg.OnQuitRequest();
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.IsEnded(); }, 5000));
        EXPECT_TRUE(wasOpen);
        EXPECT_EQ(dlg.Result(), IDOK);
        EXPECT_FALSE(dlg.MenuMain().isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(FileBytes().size(), kSettingsFileSize);
    }
}

TEST_F(MenuTest, HemisphereActsOnlyOnAChange) {
    CNorvaleDlg& dlg = Start();
    PaintCounter counter;
    dlg.m_moonImage.installEventFilter(&counter);
    dlg.MenuAction(ID_NORTHERN)->trigger(); // already set
    EXPECT_EQ(counter.paints, 0);
    EXPECT_TRUE(dlg.MenuAction(ID_NORTHERN)->isChecked());
    EXPECT_FALSE(dlg.MenuAction(ID_SOUTHERN)->isChecked());
    EXPECT_TRUE(dlg.Settings().bNorthern);

    dlg.MenuAction(ID_SOUTHERN)->trigger();
    EXPECT_EQ(counter.paints, 1);
    EXPECT_FALSE(dlg.Settings().bNorthern);
    EXPECT_FALSE(dlg.MenuAction(ID_NORTHERN)->isChecked());
    EXPECT_TRUE(dlg.MenuAction(ID_SOUTHERN)->isChecked());
    dlg.MenuAction(ID_SOUTHERN)->trigger();
    EXPECT_EQ(counter.paints, 1);
    EXPECT_TRUE(dlg.MenuAction(ID_SOUTHERN)->isChecked());
    dlg.m_moonImage.removeEventFilter(&counter);
}

TEST_F(MenuTest, DateLayoutReformatsThePickerAndMovesTheMark) {
    CNorvaleDlg& dlg = Start();
    std::vector<QString> texts;
    for (int id = 330; id <= 335; ++id) {
        texts.push_back(ItemText(id));
    }
    const char* patterns[] = {"dd/MM/yyyy",  "dd/MMM/yyyy", "dd.MM.yyyy",
                              "dd.MMM.yyyy", "dd-MM-yyyy",  "dd-MMM-yyyy"};
    for (int i : {2, 0, 3, 3, 5, 1, 4}) {
        dlg.MenuAction(ID_DATE_FORMAT_FIRST + i)->trigger();
        EXPECT_EQ(dlg.Settings().nDateFormat, i);
        EXPECT_EQ(dlg.DatePicker().displayFormat(), QString::fromLatin1(patterns[i]));
        EXPECT_EQ(MarkedFormats(), std::vector<int>{ID_DATE_FORMAT_FIRST + i});
        EXPECT_EQ(dlg.DatePicker().dateTime().time(), QTime(12, 0, 0));
        for (int id = 330; id <= 335; ++id) {
            EXPECT_EQ(ItemText(id), texts[static_cast<std::size_t>(id - 330)]);
        }
    }
}

TEST_F(MenuTest, MenuHangsFromTheButtonAndOpensAtThePointerOnThePicture) {
    CNorvaleDlg& dlg = Start();
    dlg.MenuButton()->click();
    ASSERT_TRUE(dlg.MenuMain().isVisible());
    EXPECT_EQ(dlg.MenuMain().pos(),
              dlg.MenuButton()->mapToGlobal(QPoint(0, dlg.MenuButton()->height())));
    dlg.MenuMain().hide();

    dlg.OnCommand(ID_LAYOUT_TOGGLE, 0); // compact: the picture is the way in
    QTest::mouseRelease(&dlg.m_moonImage, Qt::RightButton, {}, QPoint(30, 40));
    ASSERT_TRUE(dlg.MenuMain().isVisible());
    EXPECT_EQ(dlg.MenuMain().pos(), dlg.m_moonImage.mapToGlobal(QPoint(30, 40)));
    dlg.MenuMain().hide();
}

// The replay of the stored settings sends the layout switch, the date layout
// of a known index and the hemisphere, and never another command.
TEST_F(MenuTest, StartupReplayNeverDispatchesAForeignCommand) {
    const int indexes[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, -1, -10, -15, -20, INT_MIN, INT_MAX};
    for (const int index : indexes) {
        for (const bool full : {true, false}) {
            for (const bool northern : {true, false}) {
                SCOPED_TRACE(testing::Message()
                             << index << " full " << full << " north " << northern);
                AppSettings stored;
                stored.nLeft = 10;
                stored.nTop = 10;
                stored.nDateFormat = index;
                stored.bFull = full;
                stored.bNorthern = northern;
                Store(stored);
                m_commands.clear();
                CNorvaleDlg& dlg = Start();

                std::vector<int> expected{310};
                if (index >= 0 && index <= 9) {
                    expected.push_back(330 + index);
                }
                expected.push_back(northern ? 340 : 341);
                EXPECT_EQ(m_commands, expected);
                EXPECT_FALSE(dlg.IsEnded());
                EXPECT_TRUE(m_opened.empty());

                EXPECT_EQ(dlg.Settings().bFull, full);
                EXPECT_EQ(dlg.Settings().bNorthern, northern);
                EXPECT_EQ(dlg.Settings().nDateFormat, index);
                EXPECT_EQ(ItemText(ID_LAYOUT_TOGGLE), full ? "Compact" : "Full");
                EXPECT_TRUE(dlg.MenuAction(northern ? ID_NORTHERN : ID_SOUTHERN)->isChecked());
                const int row = index >= 0 && index <= 5 ? index : 5;
                EXPECT_EQ(dlg.DatePicker().displayFormat().toStdString(),
                          DateFormatPattern(row, true));
                EXPECT_EQ(MarkedFormats(), index >= 0 && index <= 5 ? std::vector<int>{330 + index}
                                                                    : std::vector<int>{});
                dlg.OnCommand(ID_CLOSE, 0);
                EXPECT_EQ(Saved().nDateFormat, index);
            }
        }
    }
}

} // namespace
} // namespace norvale::test
