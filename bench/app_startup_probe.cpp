// The program's start-up, ended after the first paint of the Moon picture:
// the same application object and window as the program itself.
#include "app/NorvaleDlg.h"
#include "panel/FaceCache.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

namespace {

class FirstPaint : public QObject {
public:
    explicit FirstPaint(norvale::CNorvaleDlg* dlg) : m_dlg(dlg) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, m_dlg, [this] { m_dlg->OnCancel(); });
        }
        return false;
    }

private:
    norvale::CNorvaleDlg* m_dlg;
    bool m_seen = false;
};

} // namespace

// Prints where the start-up time goes, on stderr.
int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    // As the program does: the picture's face kept between runs.
    norvale::UsePanelFaceCache();
    QApplication app(argc, argv);
    const qint64 appMs = clock.nsecsElapsed();
    norvale::CNorvaleDlg dlg;
    const qint64 dlgMs = clock.nsecsElapsed();
    FirstPaint probe(&dlg);
    dlg.m_moonImage.installEventFilter(&probe);
    dlg.DoModal();
    std::fprintf(stderr, "application %.2f ms, window constructed %.2f ms, ended %.2f ms\n",
                 appMs / 1e6, dlgMs / 1e6, clock.nsecsElapsed() / 1e6);
    return 0;
}
