// The reference for the start-up figures: a bare Qt dialog of the same size,
// shown the same way, that ends after its first paint.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include <cstdio>

namespace {

class BareDialog : public QDialog {
public:
    BareDialog() {
        setWindowTitle(QStringLiteral("Bare"));
        setFixedSize(149, 219);
        auto* label = new QLabel(QStringLiteral("Bare dialog"), this);
        label->move(10, 10);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QDialog::paintEvent(event);
        if (!m_painted) {
            m_painted = true;
            QTimer::singleShot(0, this, [this] { done(0); });
        }
    }

private:
    bool m_painted = false;
};

} // namespace

// Prints where the start-up time goes, on stderr.
int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    const qint64 appNs = clock.nsecsElapsed();
    BareDialog dlg;
    const qint64 dlgNs = clock.nsecsElapsed();
    dlg.exec();
    std::fprintf(stderr, "application %.2f ms, window constructed %.2f ms, ended %.2f ms\n",
                 appNs / 1e6, dlgNs / 1e6, clock.nsecsElapsed() / 1e6);
    return 0;
}
