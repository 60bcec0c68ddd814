// The main of every benchmark program: an offscreen Qt application (the grid draws, the
// spreadsheet program runs its own event-free calls), then Google Benchmark.

#include "platform/brokenpipe.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    platform::ignoreBrokenPipe();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
