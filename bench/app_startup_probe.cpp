// The program's start-up, ended after the first paint of the Moon picture:
// the same application object and window as the program itself.
#include "app/NorvaleDlg.h"

#include <QApplication>
#include <QTimer>

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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    norvale::CNorvaleDlg dlg;
    FirstPaint probe(&dlg);
    dlg.m_moonImage.installEventFilter(&probe);
    dlg.DoModal();
    return 0;
}
