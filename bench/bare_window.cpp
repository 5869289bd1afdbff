// The floor for start-up: a Qt Widgets window of the same size with nothing in it; with --label,
// one line of text, which brings in the font database as any window with text must; with
// --widgets, the same kinds and numbers of widgets as Daylight's window, with its value font,
// doing nothing.
#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(338, 391);
    const QStringList arguments = QApplication::arguments();
    if (arguments.contains(QStringLiteral("--label"))) {
        new QLabel(QStringLiteral("24"), &window);
    }
    if (arguments.contains(QStringLiteral("--widgets"))) {
        for (int i = 0; i < 10; ++i) {
            auto* frame = new QGroupBox(QStringLiteral("Frame %1").arg(i), &window);
            frame->setGeometry(24 + i / 5 * 152, 16 + i % 5 * 64, 145, 49);
            QWidget* inside = i % 2 ? static_cast<QWidget*>(new QLabel(frame))
                                    : new QLineEdit(QStringLiteral("24"), frame);
            inside->setGeometry(8, 16, 121, 25);
            QFont values(QStringLiteral("Liberation Sans"));
            values.setPointSizeF(9.75);
            inside->setFont(values);
        }
        new QPushButton(QStringLiteral("Compute"), &window);
        for (int i = 0; i < 3; ++i) {
            auto* line = new QFrame(&window);
            line->setFrameShape(QFrame::HLine);
            line->setGeometry(24, 340 + i, 100, 1);
        }
    }
    window.show();
    return QApplication::exec();
}
