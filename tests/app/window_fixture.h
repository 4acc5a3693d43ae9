#pragma once

#include "app/Commands.h"
#include "app/NorvaleDlg.h"
#include "controls/Web.h"
#include "core/Clock.h"
#include "settings/Settings.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace norvale::test {

// 2026-12-06 12:00:00 UTC (TZ is UTC in every test).
inline constexpr std::int64_t kNow = 1796558400;

// Each test gets its own settings folder, a fixed clock, no web address
// configured, and openers that record web addresses and help sections instead
// of starting a browser or showing the help window.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_home = std::make_unique<TempConfigHome>("norvale-window", ".", ".");
        m_root = m_home->Root();
        m_clock = std::make_unique<ScopedOverride<ClockSource>>(ClockSeam(), FixedClock(kNow));
        m_opener = std::make_unique<ScopedOverride<UrlOpener>>(
            UrlOpenerSeam(), [this](const QUrl& url) { m_opened.push_back(url); });
        m_help = std::make_unique<ScopedOverride<HelpOpener>>(
            HelpOpenerSeam(),
            [this](const QString& section) { m_helpSections.push_back(section); });
        SetWebBase(QString());
    }

    void TearDown() override {
        m_dlg.reset();
        m_webBase.reset();
        m_help.reset();
        m_opener.reset();
        m_clock.reset();
        m_home.reset();
    }

    std::filesystem::path SettingsFile() const { return m_root / "Norvale" / "info.dat"; }

    void Store(const AppSettings& settings) {
        std::filesystem::create_directories(SettingsFile().parent_path());
        const auto bytes = SettingsToBytes(settings);
        WriteBytes(SettingsFile(), Bytes(bytes.begin(), bytes.end()));
    }

    Bytes FileBytes() const { return ReadBytes(SettingsFile()); }

    AppSettings Saved() const {
        AppSettings settings;
        const Bytes bytes = FileBytes();
        EXPECT_TRUE(LoadSettingsFromBytes(bytes, settings));
        return settings;
    }

    // Creates and starts the window, recording the commands of start-up.
    CNorvaleDlg& Start() {
        m_dlg = std::make_unique<CNorvaleDlg>();
        m_dlg->SetCommandObserver([this](int id, int) { m_commands.push_back(id); });
        m_dlg->Create();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_dlg.get()));
        return *m_dlg;
    }

    CNorvaleDlg& Dlg() { return *m_dlg; }

    // The base address of the maker's pages the test runs with (none unless
    // a test sets one, whatever the build was configured with).
    void SetWebBase(const QString& base) {
        m_webBase.reset();
        m_webBase =
            std::make_unique<ScopedOverride<WebBaseSource>>(WebBaseSeam(), [base] { return base; });
    }

    QString ItemText(int id) const {
        QAction* action = m_dlg->MenuAction(id);
        return action != nullptr ? action->text() : QStringLiteral("<missing>");
    }

    // Ids of the "Time Format" items that carry the mark.
    std::vector<int> MarkedFormats() const {
        std::vector<int> marked;
        for (int id = ID_DATE_FORMAT_FIRST; id <= ID_DATE_FORMAT_SHOWN_LAST; ++id) {
            if (m_dlg->MenuAction(id)->isChecked()) {
                marked.push_back(id);
            }
        }
        return marked;
    }

    std::unique_ptr<TempConfigHome> m_home;
    std::filesystem::path m_root;
    std::unique_ptr<ScopedOverride<ClockSource>> m_clock;
    std::unique_ptr<ScopedOverride<UrlOpener>> m_opener;
    std::unique_ptr<ScopedOverride<HelpOpener>> m_help;
    std::unique_ptr<ScopedOverride<WebBaseSource>> m_webBase;
    std::unique_ptr<CNorvaleDlg> m_dlg;
    std::vector<QUrl> m_opened;
    std::vector<QString> m_helpSections;
    std::vector<int> m_commands;
};

} // namespace norvale::test
