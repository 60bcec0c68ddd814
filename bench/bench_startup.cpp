// The program's start-up: from creating the program to its start-up window on the screen, and
// on to the end of the spreadsheet probe that follows it, with LibreOffice installed and
// without it (an office program that is not there). The settings file of an earlier run is
// in place, so no first-run message is shown; the probe's failure message is answered at
// once. Each run also gives the probe's own time, which the window would wait for if the
// probe ran before the window showed, split into starting the office and quitting it.

#include "datafiles/datafoldertree.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "platform/calc/calc.h"
#include "platform/programfolder.h"
#include "platform/prompts.h"
#include "platform/spreadsheet.h"
#include "shell/frmbalance.h"
#include "shell/frmmain.h"
#include "shell/program.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Answers every message at once.
class SilentPrompts : public platform::Prompts {
public:
    platform::Answer MsgBox(const QString&, int, const QString&) override { return platform::Answer::OK; }
    QString InputBox(const QString&, const QString&, const QString&) override { return QString(); }
    bool ShowOpen(platform::CommonDialog&) override { return false; }
    bool ShowSave(platform::CommonDialog&) override { return false; }
    bool ShowColor(platform::CommonDialog&) override { return false; }
};

// A program folder with the settings of an earlier run, and the office installed or not.
class StartupWorld {
public:
    explicit StartupWorld(bool office)
    {
        platform::setProgramFolder(m_folder.path());
        platform::setPrompts(&m_prompts);
        platform::calc::CalcOptions options;
        if (!office)
            options.officeProgram = m_folder.filePath(QStringLiteral("no-office/soffice"));
        platform::calc::install(options);
        datafiles::CreateDataFolders();
        datafiles::SettingsStore settings;
        settings.CompanyName = QStringLiteral("Kos Joinery Ltd");
        (void)datafiles::SaveSettingsFile(settings);
    }
    ~StartupWorld()
    {
        platform::setPrompts(nullptr);
        platform::setProgramFolder(QString());
    }

private:
    QTemporaryDir m_folder;
    SilentPrompts m_prompts;
};

// Notes when the start-up window is first exposed on the screen: it is drawn right then, and
// the probe follows.
class ExposeClock : public QObject {
public:
    explicit ExposeClock(const QElapsedTimer& clock) : m_clock(clock) { qApp->installEventFilter(this); }
    ~ExposeClock() override { qApp->removeEventFilter(this); }
    qint64 exposedAtNs = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (exposedAtNs < 0 && event->type() == QEvent::Expose && watched->objectName().startsWith("frmMain"))
            exposedAtNs = m_clock.nsecsElapsed();
        return false;
    }

private:
    const QElapsedTimer& m_clock;
};

template <typename Condition>
void runEventsUntil(Condition done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// range(0): 1 with LibreOffice, 0 without. The measured time is until the start-up window is
// exposed (and drawn); the counters give the time until the probe has ended, and the probe
// alone, run once more.
void BM_StartToFirstWindow(benchmark::State& state)
{
    const StartupWorld world(state.range(0) != 0);
    double untilProbeDone = 0;
    double probeAlone = 0;
    double officeStart = 0;
    double officeQuit = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const ExposeClock exposed(clock);
        shell::Program program([] {});
        program.start();
        runEventsUntil([&] { return program.startupProbeDone(); });
        untilProbeDone += double(clock.nsecsElapsed()) / 1e6;
        if (exposed.exposedAtNs < 0) {
            state.SkipWithError("the start-up window was never exposed");
            return;
        }
        state.SetIterationTime(double(exposed.exposedAtNs) / 1e9);

        QElapsedTimer probe;
        probe.start();
        program.settingsWindow().ExcelTest();
        probeAlone += double(probe.nsecsElapsed()) / 1e6;

        // Where the probe's time goes: starting the office, and quitting it.
        const std::unique_ptr<platform::Spreadsheet> office = platform::newSpreadsheet();
        probe.restart();
        (void)office->start();
        officeStart += double(probe.nsecsElapsed()) / 1e6;
        probe.restart();
        office->quit();
        officeQuit += double(probe.nsecsElapsed()) / 1e6;
        const QString expected = QLatin1String(state.range(0) ? "RADI" : "NERADI");
        if (program.store().lblEXCELSTATUS.value() != expected) {
            state.SkipWithError("the probe did not give the expected result");
            return;
        }
    }
    state.counters["until_probe_done_ms"] = untilProbeDone / double(state.iterations());
    state.counters["probe_alone_ms"] = probeAlone / double(state.iterations());
    state.counters["office_start_ms"] = officeStart / double(state.iterations());
    state.counters["office_quit_ms"] = officeQuit / double(state.iterations());
}
BENCHMARK(BM_StartToFirstWindow)
    ->ArgName("office")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace
