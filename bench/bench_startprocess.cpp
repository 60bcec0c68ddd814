// The program's start-up as a user sees it: the whole process, from exec to its first window
// mapped on a display, beside a plain Qt program that shows one main window (plainwindow).
// Both run in turn on a private virtual display (Xvfb), as real X clients, so the figures
// hold dynamic loading, the platform plugin, fonts and everything the program does before
// its window. Memory is each process's resident size once it has gone idle after the
// start (for the program: after its spreadsheet probe has ended), and its peak.
//
// The program runs installed into a temporary program folder holding the settings file of
// an earlier run, so no first-run message is shown. QUORVANE_BUILD_DIR in the environment
// names another build folder to install from (an earlier version, to compare). Each process is closed as a window
// manager closes a window (WM_DELETE_WINDOW), so the program ends as a user ends it.

#include "datafiles/datafoldertree.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "platform/programfolder.h"

#include "besidebaseline.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Reply = std::unique_ptr<void, decltype(&std::free)>;

// A private X server, started once for the whole run.
class VirtualDisplay {
public:
    VirtualDisplay()
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        m_server.setProgram(QStringLiteral("Xvfb"));
        m_server.setArguments({QStringLiteral("-displayfd"), QString::number(fds[1]), QStringLiteral("-screen"),
                               QStringLiteral("0"), QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"),
                               QStringLiteral("tcp")});
        m_server.setStandardErrorFile(QProcess::nullDevice());
        m_server.start();
        ::close(fds[1]);
        std::string number;
        pollfd waiting{fds[0], POLLIN, 0};
        char c = 0;
        while (::poll(&waiting, 1, 20000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        if (number.empty())
            return;
        m_name = ":" + number;
        m_connection = xcb_connect(m_name.c_str(), nullptr);
        if (xcb_connection_has_error(m_connection)) {
            xcb_disconnect(m_connection);
            m_connection = nullptr;
            return;
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        m_protocols = atom("WM_PROTOCOLS");
        m_deleteWindow = atom("WM_DELETE_WINDOW");
        xcb_flush(m_connection);
    }
    ~VirtualDisplay()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    bool usable() const { return m_connection != nullptr; }
    const std::string& name() const { return m_name; }

    // Waits for the first top-level window mapped from now on; none within the limit is
    // XCB_WINDOW_NONE.
    xcb_window_t nextMappedWindow(int limitMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < limitMs) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const Reply owned(event, &std::free);
                if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                    auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(event);
                    if (!mapped->override_redirect)
                        return mapped->window;
                }
            }
            pollfd waiting{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&waiting, 1, 50);
        }
        return XCB_WINDOW_NONE;
    }

    // Asks the window to close, as a window manager's close button does.
    void close(xcb_window_t window)
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = m_protocols;
        message.data.data32[0] = m_deleteWindow;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message));
        xcb_flush(m_connection);
    }

    // Drops the events left over from a run, so the next run sees only its own.
    void drain()
    {
        xcb_flush(m_connection);
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection))
            std::free(event);
    }

private:
    xcb_atom_t atom(const char* name)
    {
        const Reply reply(
            xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, std::strlen(name), name), nullptr),
            &std::free);
        return reply ? static_cast<xcb_intern_atom_reply_t*>(reply.get())->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    QProcess m_server;
    std::string m_name;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_protocols = XCB_ATOM_NONE;
    xcb_atom_t m_deleteWindow = XCB_ATOM_NONE;
};

// A number of kB from a "Name:   123 kB" line of /proc/<pid>/status; -1 when absent.
long statusKb(pid_t pid, const char* field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wanted = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(wanted))
            return line.mid(wanted.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The process's CPU time so far, in clock ticks.
long cpuTicks(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    // utime and stime are fields 14 and 15 of the whole line, 12 and 13 after the name.
    return fields.size() > 12 ? fields[11].toLong() + fields[12].toLong() : -1;
}

struct RunFigures {
    double toWindowMs = 0;
    double idleRssMb = 0;
    double peakRssMb = 0;
};

// Starts a program in a process group of its own (so anything it starts ends with it),
// times it to its first mapped window, lets it go idle, reads its memory and closes it.
std::optional<RunFigures> runOnce(VirtualDisplay& display, const std::string& program)
{
    display.drain();
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "QT_QPA_PLATFORM=", 16) != 0)
            environment.emplace_back(*e);
    environment.push_back("DISPLAY=" + display.name());
    environment.push_back("QT_QPA_PLATFORM=xcb");
    std::vector<char*> envp;
    for (std::string& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);

    QElapsedTimer clock;
    clock.start();
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, path.c_str(), &files, &attributes, argv, envp.data());
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0)
        return std::nullopt;

    RunFigures figures;
    const xcb_window_t window = display.nextMappedWindow(60000);
    figures.toWindowMs = double(clock.nsecsElapsed()) / 1e6;

    // Idle: no CPU time used for half a second (the program's probe of the spreadsheet
    // program runs after its window shows and is part of its start).
    long lastTicks = cpuTicks(pid);
    int quietSteps = 0;
    for (int step = 0; step < 600 && quietSteps < 5; ++step) {
        QThread::msleep(100);
        const long ticks = cpuTicks(pid);
        quietSteps = ticks == lastTicks ? quietSteps + 1 : 0;
        lastTicks = ticks;
    }
    figures.idleRssMb = double(statusKb(pid, "VmRSS")) / 1024.0;
    figures.peakRssMb = double(statusKb(pid, "VmHWM")) / 1024.0;

    if (window != XCB_WINDOW_NONE)
        display.close(window);
    int status = 0;
    bool ended = false;
    for (int step = 0; step < 300 && !ended; ++step) {
        ended = ::waitpid(pid, &status, WNOHANG) == pid;
        if (!ended)
            QThread::msleep(50);
    }
    // Whatever the program started (its office) goes with it.
    ::kill(-pid, SIGKILL);
    if (!ended)
        ::waitpid(pid, &status, 0);
    if (window == XCB_WINDOW_NONE)
        return std::nullopt;
    return figures;
}

// The program installed into a temporary program folder with the settings of an earlier run.
class InstalledProgram {
public:
    InstalledProgram()
    {
        const QString prefix = m_folder.filePath(QStringLiteral("program"));
        const QString build = qEnvironmentVariable("QUORVANE_BUILD_DIR", QStringLiteral(QUORVANE_BUILD_DIR));
        QProcess install;
        install.start(QStringLiteral("cmake"), {QStringLiteral("--install"), build,
                                                QStringLiteral("--prefix"), prefix});
        if (!install.waitForFinished(120000) || install.exitCode() != 0)
            return;
        platform::setProgramFolder(prefix);
        datafiles::CreateDataFolders();
        datafiles::SettingsStore settings;
        settings.CompanyName = QStringLiteral("Kos Joinery Ltd");
        const bool saved = datafiles::SaveSettingsFile(settings);
        platform::setProgramFolder(QString());
        if (saved)
            m_program = QDir(prefix).filePath(QStringLiteral("quorvane")).toStdString();
    }
    const std::string& program() const { return m_program; }

private:
    QTemporaryDir m_folder;
    std::string m_program;
};

void BM_StartProcessToFirstWindow(benchmark::State& state)
{
    VirtualDisplay display;
    if (!display.usable()) {
        state.SkipWithError("Xvfb could not be started");
        return;
    }
    const InstalledProgram installed;
    if (installed.program().empty()) {
        state.SkipWithError("the program could not be installed into a temporary folder");
        return;
    }
    const std::string plain = QUORVANE_PLAIN_WINDOW;
    // A first run of each, not counted: file caches and the font cache.
    (void)runOnce(display, plain);
    (void)runOnce(display, installed.program());

    std::vector<double> oursMs, baseMs, oursIdle, baseIdle, oursPeak, basePeak;
    for (auto _ : state) {
        const std::optional<RunFigures> base = runOnce(display, plain);
        const std::optional<RunFigures> ours = runOnce(display, installed.program());
        if (!base || !ours) {
            state.SkipWithError("a program showed no window");
            return;
        }
        state.SetIterationTime(ours->toWindowMs / 1000.0);
        oursMs.push_back(ours->toWindowMs);
        baseMs.push_back(base->toWindowMs);
        oursIdle.push_back(ours->idleRssMb);
        baseIdle.push_back(base->idleRssMb);
        oursPeak.push_back(ours->peakRssMb);
        basePeak.push_back(base->peakRssMb);
    }
    state.counters["ours_ms"] = median(oursMs);
    state.counters["plain_ms"] = median(baseMs);
    state.counters["ratio"] = median(oursMs) / median(baseMs);
    state.counters["ours_idle_MB"] = median(oursIdle);
    state.counters["plain_idle_MB"] = median(baseIdle);
    state.counters["idle_ratio"] = median(oursIdle) / median(baseIdle);
    state.counters["ours_peak_MB"] = median(oursPeak);
    state.counters["plain_peak_MB"] = median(basePeak);
    state.counters["peak_ratio"] = median(oursPeak) / median(basePeak);
}
BENCHMARK(BM_StartProcessToFirstWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

} // namespace
