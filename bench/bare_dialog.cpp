// The reference for the start-up figures: a bare Qt dialog of the same size,
// shown the same way, that ends after its first paint.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QTimer>

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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareDialog dlg;
    dlg.exec();
    return 0;
}
