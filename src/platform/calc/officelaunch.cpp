// Starts an office process with its own profile and pipe, sees it through its start, and
// ends it by force.

#include "platform/calc/officelaunch.h"

#include "platform/calc/officeleftovers.h"
#include "platform/calc/officeprofile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace platform::calc {

namespace {

// The office asks to be started again with this code (after it has set up a new profile).
constexpr int restartExitCode = 81;
// How often an office is started again when it asks for it.
constexpr int restartLimit = 2;
// An office that crashes while starting is started again this many times before the start
// is given up and reported.
constexpr int crashRetries = 2;
constexpr int pollMs = 50;

QString uniquePipeName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("quorvane_%1_%2_%3")
        .arg(::getpid())
        .arg(++counter)
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

// argv and envp prepared before fork, so the child only calls what is safe after it.
struct ExecImage {
    std::vector<std::string> args;
    std::vector<std::string> env;
    std::vector<char*> argv;
    std::vector<char*> envp;

    void seal()
    {
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
    }
};

// Our environment without the runtime's bootstrap variable, which would make the office
// read our settings instead of its own, and with the temporary folder of a private office.
std::vector<std::string> childEnvironment(const QString& tempDir)
{
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e) {
        const std::string entry(*e);
        if (entry.rfind("URE_BOOTSTRAP=", 0) == 0 || (!tempDir.isEmpty() && entry.rfind("TMPDIR=", 0) == 0))
            continue;
        env.push_back(entry);
    }
    if (!tempDir.isEmpty())
        env.push_back("TMPDIR=" + QFile::encodeName(tempDir).toStdString());
    return env;
}

// In the child: stdin and stdout/stderr to /dev/null, then the program. Never returns.
[[noreturn]] void execChild(const ExecImage& image)
{
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, 0);
        ::dup2(null, 1);
        ::dup2(null, 2);
        if (null > 2)
            ::close(null);
    }
    ::execve(image.argv[0], image.argv.data(), image.envp.data());
    ::_exit(127);
}

// An owned office: its own process group (so its helpers are ended with it) and killed by
// the kernel when our process dies, whatever way it dies.
pid_t spawnOwned(const ExecImage& image)
{
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        execChild(image);
    }
    return pid;
}

// An office handed to the user: a session of its own, so it outlives us and signals meant
// for us do not reach it. It stays our child only so that an early failure is seen.
pid_t spawnDetached(const ExecImage& image)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();
        execChild(image);
    }
    return pid;
}

// Offices let go of that may have ended since: collected so they leave no zombie.
std::vector<pid_t>& lettingGo()
{
    static std::vector<pid_t> pids;
    return pids;
}

std::mutex& lettingGoLock()
{
    static std::mutex mutex;
    return mutex;
}

void reapLetGo()
{
    const std::lock_guard<std::mutex> guard(lettingGoLock());
    std::erase_if(lettingGo(), [](pid_t pid) {
        int raw = 0;
        return ::waitpid(pid, &raw, WNOHANG) != 0;
    });
}

// The executable that is the office itself. The "soffice" launcher runs it as a child of
// its own, which a kill by pid would miss, so an owned office is started directly.
QString officeExecutable(const QString& program, bool owned)
{
    if (!owned)
        return program;
    const QFileInfo info(program);
    if (info.fileName() == QLatin1String("soffice")) {
        const QString bin = QFileInfo(info.canonicalFilePath()).absolutePath() + QStringLiteral("/soffice.bin");
        if (QFileInfo(bin).isExecutable())
            return bin;
    }
    return program;
}

} // namespace

OfficeLaunch::Settings OfficeLaunch::privateOffice(const CalcOptions& options, const QString& profileDir)
{
    Settings settings;
    settings.program = options.officeProgram;
    settings.profileDir = profileDir;
    settings.timeoutMs = options.startTimeoutMs;
    settings.quitLimitMs = options.quitTimeoutMs;
    return settings;
}

std::unique_ptr<QTemporaryDir> OfficeLaunch::newPrivateProfile(QString& error)
{
    auto profile = std::make_unique<QTemporaryDir>(OfficeLeftovers::profileTemplate());
    if (profile->isValid())
        return profile;
    error = QStringLiteral("No temporary folder for the spreadsheet program: %1").arg(profile->errorString());
    return nullptr;
}

OfficeLaunch::OfficeLaunch() = default;

OfficeLaunch::~OfficeLaunch()
{
    letGo();
}

bool OfficeLaunch::start(const Settings& settings, QString& error)
{
    settings_ = settings;
    restarts_ = 0;
    crashes_ = 0;
    const QFileInfo program(settings.program);
    if (!program.exists() || !program.isExecutable() || program.isDir()) {
        error = QStringLiteral("The spreadsheet program was not found (%1).").arg(settings.program);
        return false;
    }
    if (settings.headless) {
        static std::once_flag swept;
        std::call_once(swept, OfficeLeftovers::sweep);
        if (settings.profileDir.isEmpty())
            profile_ = std::make_unique<QTemporaryDir>(OfficeLeftovers::profileTemplate());
        if ((profile_ && !profile_->isValid()) || !OfficeProfile::prepare(profileDir())) {
            error = QStringLiteral("No folder for the spreadsheet program's settings: %1")
                        .arg(profile_ ? profile_->errorString() : profileDir());
            profile_.reset();
            return false;
        }
    }
    reapLetGo();
    pipe_ = uniquePipeName();
    return spawn(error);
}

bool OfficeLaunch::spawn(QString& error)
{
    ExecImage image;
    image.args.push_back(QFile::encodeName(officeExecutable(settings_.program, settings_.owned)).toStdString());
    if (settings_.headless) {
        image.args.push_back("--headless");
        image.args.push_back("--invisible");
    }
    for (const char* option : {"--nologo", "--norestore", "--nodefault", "--nolockcheck"})
        image.args.push_back(option);
    const QString profile = profileDir();
    if (!profile.isEmpty())
        image.args.push_back("-env:UserInstallation="
                             + QUrl::fromLocalFile(profile).toString(QUrl::FullyEncoded).toStdString());
    image.args.push_back(
        QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe_).toStdString());
    // A private office keeps its temporary files in its profile folder, emptied at each start
    // of what a killed one left there.
    QString tempDir;
    if (settings_.headless) {
        tempDir = profile + QStringLiteral("/tmp");
        QDir(tempDir).removeRecursively();
        QDir().mkpath(tempDir);
    }
    image.env = childEnvironment(tempDir);
    image.seal();

    startedAt_ = QDateTime::currentDateTime().addSecs(-1);
    pid_ = settings_.owned ? spawnOwned(image) : spawnDetached(image);
    if (pid_ <= 0) {
        pid_ = -1;
        error = QStringLiteral("The spreadsheet program could not be started (%1).").arg(settings_.program);
        return false;
    }
    return true;
}

bool OfficeLaunch::exitedAtStart(int& status)
{
    if (pid_ <= 0)
        return false;
    int raw = 0;
    if (::waitpid(pid_, &raw, WNOHANG) != pid_)
        return false;
    pid_ = -1;
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return true;
}

bool OfficeLaunch::crashedAtStart(int status) const
{
    // Our own office ended by a signal (reported as 128 + its number) or with a failure code;
    // 127 is a program that could not be run at all, and a visible launch is the user's
    // office, whose launcher answers for itself.
    return settings_.owned && status != 0 && status != 127 && status != restartExitCode;
}

OfficeLaunch::State OfficeLaunch::look(QString& error)
{
    int status = 0;
    if (!exitedAtStart(status))
        return State::Running;
    if (status == restartExitCode && restarts_++ < restartLimit && spawn(error))
        return State::Restarted;
    // A crash while starting is not the user's to see while another try may do.
    if (crashedAtStart(status) && crashes_++ < crashRetries && spawn(error))
        return State::Restarted;
    // A launcher that found the user's office running hands its request over and ends well;
    // that office then answers on our pipe.
    if (status == 0 && !settings_.owned)
        return State::HandedOff;
    error = status == 127
        ? QStringLiteral("The spreadsheet program could not be run (%1).").arg(settings_.program)
        : QStringLiteral("The spreadsheet program ended while starting (exit code %1).").arg(status);
    if (crashes_ > 0)
        error += QStringLiteral(" It was started %1 times.").arg(crashes_);
    return State::Failed;
}

bool OfficeLaunch::listening() const
{
    return !pipe_.isEmpty() && OfficeLeftovers::listens(pipe_);
}

bool OfficeLaunch::waitUntilListening(QString& error)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < settings_.timeoutMs) {
        switch (look(error)) {
        case State::Failed:
            return false;
        case State::Restarted:
        case State::HandedOff: // only a visible launch, which is never waited for here
            continue;
        case State::Running:
            break;
        }
        if (listening())
            return true;
        QThread::msleep(pollMs);
    }
    error = QStringLiteral("The spreadsheet program did not answer within %1 seconds.").arg(settings_.timeoutMs / 1000);
    return false;
}

QString OfficeLaunch::profileDir() const
{
    return profile_ ? profile_->path() : settings_.profileDir;
}

bool OfficeLaunch::hasEnded()
{
    int status = 0;
    return pid_ <= 0 || exitedAtStart(status);
}

void OfficeLaunch::killProcess(int graceMs)
{
    if (pid_ <= 0)
        return;
    // Give it a moment to end by itself, then end it and everything it started.
    QElapsedTimer clock;
    clock.start();
    int raw = 0;
    while (clock.elapsed() < graceMs) {
        if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
            ::kill(-pid_, SIGKILL); // helpers left in its group
            pid_ = -1;
            if (!WIFEXITED(raw))
                OfficeLeftovers::removePipes(pipe_, startedAt_);
            return;
        }
        QThread::msleep(10);
    }
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &raw, 0);
    pid_ = -1;
    OfficeLeftovers::removePipes(pipe_, startedAt_);
}

void OfficeLaunch::letGo()
{
    if (pid_ > 0) {
        const std::lock_guard<std::mutex> guard(lettingGoLock());
        lettingGo().push_back(pid_);
        pid_ = -1;
    }
    profile_.reset();
}

} // namespace platform::calc
