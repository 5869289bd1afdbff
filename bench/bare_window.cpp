// The floor for start-up: a Qt Widgets window of the same size with nothing in it, or, with
// --label, one line of text, which brings in the font database as any window with text must.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(338, 391);
    if (QApplication::arguments().contains(QStringLiteral("--label"))) {
        new QLabel(QStringLiteral("24"), &window);
    }
    window.show();
    return QApplication::exec();
}
