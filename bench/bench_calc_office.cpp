// What a spreadsheet command waits for before it can fill a workbook: the first command of a
// run starts the program's office (a fresh profile), a command after it finds the office
// running, and a command after the office died starts it again in the profile it kept.

#include "platform/calc/calc.h"
#include "platform/calc/calcspreadsheet.h"

#include <benchmark/benchmark.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <unistd.h>

namespace {

// The office this benchmark started, found by the pipe name it carries.
pid_t runningOffice()
{
    const QByteArray mark = "pipe,name=quorvane_" + QByteArray::number(::getpid()) + '_';
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (entry.toInt() > 0 && cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(mark))
            return pid_t(entry.toInt());
    }
    return 0;
}

bool command()
{
    platform::calc::CalcSpreadsheet calc;
    return calc.start() && calc.addWorkbook() && calc.writeCell(QStringLiteral("A1"), QStringLiteral("x"))
        && calc.flush();
}

// range(0): 0 the office is running, 1 the first command of a run, 2 the office died.
void BM_CommandStart(benchmark::State& state)
{
    // A write into the connection of the office killed below fails as an error.
    std::signal(SIGPIPE, SIG_IGN);
    const int situation = int(state.range(0));
    command();
    for (auto _ : state) {
        state.PauseTiming();
        if (situation == 1) {
            platform::calc::endOffice();
        } else if (situation == 2) {
            const pid_t office = runningOffice();
            if (office > 0) {
                ::kill(office, SIGKILL);
                while (runningOffice() == office)
                    QThread::msleep(5);
            }
        }
        state.ResumeTiming();
        if (!command()) {
            state.SkipWithError("the command failed");
            break;
        }
    }
    platform::calc::endOffice();
}

BENCHMARK(BM_CommandStart)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("after")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

} // namespace
