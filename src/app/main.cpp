// Quorvane: starts the program.

#include "platform/brokenpipe.h"
#include "platform/calc/calc.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    platform::ignoreBrokenPipe();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    // Every spreadsheet command drives LibreOffice Calc.
    platform::calc::install();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quorvane"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
