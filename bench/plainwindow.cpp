// The start-up baseline: a plain Qt program that shows one main window with a line of text
// (so it loads the fonts, as every program's first window does) and waits, nothing else.

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Plain"));
    window.setCentralWidget(new QLabel(QStringLiteral("A plain main window"), &window));
    window.resize(320, 414);
    window.show();
    return app.exec();
}
