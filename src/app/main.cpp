// Quorvane: starts the program with its start-up window.

#include "platform/brokenpipe.h"
#include "platform/calc/calcmodule.h"
#include "shell/program.h"

#include <QApplication>

int main(int argc, char** argv)
{
    platform::ignoreBrokenPipe();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    // Every spreadsheet command drives LibreOffice Calc, through the module loaded at the
    // first one.
    platform::calc::module::install();

    shell::Program program;
    program.start();
    return app.exec();
}
