// A click on "Next" until the picture has repainted, in-process: the press
// on the label steps the day and repaints the picture before it returns.
#include "app/NorvaleDlg.h"
#include "core/Clock.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    std::string folder = (std::filesystem::temp_directory_path() / "norvale-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) {
        return 1;
    }
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    QApplication app(argc, argv);
    int paints = 0;
    int result = 0;
    {
        norvale::CNorvaleDlg dlg;
        dlg.Create();
        struct Counter : QObject {
            int* count;
            explicit Counter(int* c) : count(c) {}
            bool eventFilter(QObject*, QEvent* e) override {
                *count += e->type() == QEvent::Paint ? 1 : 0;
                return false;
            }
        } counter(&paints);
        dlg.m_moonImage.installEventFilter(&counter);
        if (!QTest::qWaitForWindowExposed(&dlg)) {
            std::fprintf(stderr, "the window was never shown\n");
            result = 1;
        }

        const int kClicks = result == 0 ? 400 : 0;
        std::vector<double> micros;
        micros.reserve(kClicks);
        for (int i = 0; i < kClicks; ++i) {
            const int before = paints;
            const auto start = std::chrono::steady_clock::now();
            QTest::mouseClick(&dlg.m_nextLink, Qt::LeftButton);
            const auto end = std::chrono::steady_clock::now();
            if (paints == before) {
                std::fprintf(stderr, "the picture did not repaint\n");
                result = 1;
                break;
            }
            micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
        std::sort(micros.begin(), micros.end());
        if (!micros.empty()) {
            const double median = micros[micros.size() / 2];
            const double p90 = micros[micros.size() * 9 / 10];
            std::printf("next_click_repaint: clicks=%zu median=%.1f us p90=%.1f us max=%.1f us "
                        "(target: median <= 1000 us) %s\n",
                        micros.size(), median, p90, micros.back(),
                        median <= 1000.0 ? "PASS" : "FAIL");
        }
    }
    std::filesystem::remove_all(folder);
    return result;
}
