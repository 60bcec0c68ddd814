// Starts an office process with its own profile and pipe, connects over UNO, and ends it.

#include "platform/calc/officeprocess.h"

#include "platform/calc/officeleftovers.h"
#include "platform/calc/officeprofile.h"
#include "platform/calc/unoruntime.h"
#include "platform/calc/unostrings.h"

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <mutex>
#include <fcntl.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

using namespace css;

namespace platform::calc {

namespace {

// The office asks to be started again with this code (after it has set up a new profile).
constexpr int restartExitCode = 81;
// An office that crashes while starting is started again this many times before the start
// is given up and reported.
constexpr int crashRetries = 2;
constexpr int pollMs = 50;
// How long a running office may take to answer after our launcher handed it the request.
constexpr int handOverWaitMs = 15000;

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

// Handed-over offices that may have ended since: collected so they leave no zombie.
std::vector<pid_t>& handedOver()
{
    static std::vector<pid_t> pids;
    return pids;
}

void reapHandedOver()
{
    std::vector<pid_t>& pids = handedOver();
    std::erase_if(pids, [](pid_t pid) {
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

OfficeProcess::OfficeProcess() = default;

OfficeProcess::~OfficeProcess()
{
    stop();
}

bool OfficeProcess::start(const Launch& launch, QString& error)
{
    launch_ = launch;
    released_ = false;
    const QFileInfo program(launch.program);
    if (!program.exists() || !program.isExecutable() || program.isDir()) {
        error = QStringLiteral("The spreadsheet program was not found (%1).").arg(launch.program);
        return false;
    }
    if (launch.headless) {
        static std::once_flag swept;
        std::call_once(swept, OfficeLeftovers::sweep);
        if (launch.profileDir.isEmpty())
            profile_ = std::make_unique<QTemporaryDir>(OfficeLeftovers::profileTemplate());
        if ((profile_ && !profile_->isValid()) || !OfficeProfile::prepare(profileDir())) {
            error = QStringLiteral("No folder for the spreadsheet program's settings: %1")
                        .arg(profile_ ? profile_->errorString() : profileDir());
            profile_.reset();
            return false;
        }
    }
    reapHandedOver();
    pipe_ = uniquePipeName();
    if (spawn(error) && connect(error))
        return true;
    stop();
    return false;
}

bool OfficeProcess::spawn(QString& error)
{
    ExecImage image;
    image.args.push_back(QFile::encodeName(officeExecutable(launch_.program, launch_.owned)).toStdString());
    if (launch_.headless) {
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
    if (launch_.headless) {
        tempDir = profile + QStringLiteral("/tmp");
        QDir(tempDir).removeRecursively();
        QDir().mkpath(tempDir);
    }
    image.env = childEnvironment(tempDir);
    image.seal();

    startedAt_ = QDateTime::currentDateTime().addSecs(-1);
    pid_ = launch_.owned ? spawnOwned(image) : spawnDetached(image);
    if (pid_ <= 0) {
        pid_ = -1;
        error = QStringLiteral("The spreadsheet program could not be started (%1).").arg(launch_.program);
        return false;
    }
    return true;
}

bool OfficeProcess::exitedAtStart(int& status)
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

QString OfficeProcess::profileDir() const
{
    return profile_ ? profile_->path() : launch_.profileDir;
}

bool OfficeProcess::crashedAtStart(int status) const
{
    // Our own office ended by a signal (reported as 128 + its number) or with a failure code;
    // 127 is a program that could not be run at all, and a visible launch is the user's
    // office, whose launcher answers for itself.
    return launch_.owned && status != 0 && status != 127 && status != restartExitCode;
}

bool OfficeProcess::hasEnded()
{
    int status = 0;
    return pid_ <= 0 || exitedAtStart(status);
}

bool OfficeProcess::connect(QString& error)
{
    const uno::Reference<uno::XComponentContext> local = UnoRuntime::context(error);
    if (!local.is())
        return false;
    const OUString url = toOUString(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe_));
    QElapsedTimer clock;
    clock.start();
    int restarts = 0;
    int crashes = 0;
    QElapsedTimer handedOff;
    try {
        const uno::Reference<bridge::XUnoUrlResolver> resolver = bridge::UnoUrlResolver::create(local);
        while (clock.elapsed() < launch_.timeoutMs) {
            // A running office answers within moments of taking the request over; a
            // launcher that ended without one (no usable display, say) leaves nobody.
            if (handedOff.isValid() && handedOff.elapsed() > handOverWaitMs) {
                error = QStringLiteral("The spreadsheet program did not open (is a display available?).");
                return false;
            }
            int status = 0;
            if (exitedAtStart(status)) {
                if (status == restartExitCode && restarts++ < 2 && spawn(error))
                    continue;
                // A crash while starting is not the user's to see while another try may do.
                if (crashedAtStart(status) && crashes++ < crashRetries && spawn(error))
                    continue;
                // A launcher that found the user's office running hands its request over and
                // ends well; that office then answers on our pipe.
                if (status == 0 && !launch_.owned) {
                    handedOff.start();
                    continue;
                }
                error = status == 127
                    ? QStringLiteral("The spreadsheet program could not be run (%1).").arg(launch_.program)
                    : QStringLiteral("The spreadsheet program ended while starting (exit code %1).").arg(status);
                if (crashes > 0)
                    error += QStringLiteral(" It was started %1 times.").arg(crashes);
                return false;
            }
            try {
                // An office that takes the connection and then hangs would hold these calls.
                const KillWatch::Timing bounded(watch_, pid_, int(std::max<qint64>(1, launch_.timeoutMs - clock.elapsed())));
                remote_.set(resolver->resolve(url), uno::UNO_QUERY);
                if (remote_.is()) {
                    desktop_ = frame::Desktop::create(remote_);
                    return true;
                }
            } catch (const connection::NoConnectException&) {
                // not listening yet
            } catch (const lang::DisposedException&) {
                // A new connection is now and then dropped while it is being made: make it
                // again (an office that has ended is seen at the top of the loop).
                remote_.clear();
            }
            QThread::msleep(pollMs);
        }
        error = QStringLiteral("The spreadsheet program did not answer within %1 seconds.").arg(launch_.timeoutMs / 1000);
    } catch (const uno::Exception& e) {
        error = QStringLiteral("The spreadsheet program could not be reached: %1").arg(toQString(e.Message));
    }
    return false;
}

void OfficeProcess::closeUnsaved(const uno::Reference<uno::XInterface>& document)
{
    // A changed document would ask whether to save it, and nobody answers.
    const uno::Reference<util::XModifiable> modifiable(document, uno::UNO_QUERY);
    if (modifiable.is())
        modifiable->setModified(false);
    const uno::Reference<util::XCloseable> closeable(document, uno::UNO_QUERY);
    if (closeable.is())
        closeable->close(true);
}

void OfficeProcess::closeDocuments()
{
    // A changed document makes terminate() wait for a "save changes?" answer.
    try {
        const uno::Reference<container::XEnumerationAccess> components = desktop_->getComponents();
        const uno::Reference<container::XEnumeration> it = components->createEnumeration();
        while (it->hasMoreElements()) {
            const uno::Reference<uno::XInterface> doc(it->nextElement(), uno::UNO_QUERY);
            try {
                closeUnsaved(doc);
            } catch (const uno::Exception&) {
                // already closed or gone; terminate() and the kill below handle the rest
            }
        }
    } catch (const uno::Exception&) {
    }
}

void OfficeProcess::killProcess(int graceMs)
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

void OfficeProcess::end()
{
    // A visible launch is ours while its launcher runs; without it, the user's own office
    // took the request over, and that office is never ended here.
    if (!launch_.owned && pid_ <= 0)
        return;
    int graceMs = 0;
    if (desktop_.is()) {
        // An office that no longer answers would hold these calls for ever: past the
        // limit it is killed, and the calls return with the connection gone.
        const KillWatch::Timing bounded(watch_, pid_, launch_.quitLimitMs);
        closeDocuments();
        try {
            desktop_->terminate();
            graceMs = 5000;
        } catch (const lang::DisposedException&) {
            graceMs = 5000; // the office went away while answering, as it does
        } catch (const uno::Exception&) {
        }
    }
    killProcess(graceMs);
}

void OfficeProcess::kill()
{
    // Never released: the program ends right after. Without the connection, stop() ends the
    // office by force.
    new uno::Reference<frame::XDesktop2>(std::move(desktop_));
    new uno::Reference<uno::XComponentContext>(std::move(remote_));
    stop();
}

void OfficeProcess::stop()
{
    // A visible office that never reached the user (its start or its first document
    // failed) is ended like a private one, so no windowless office is left running.
    if (!released_)
        end();
    desktop_.clear();
    remote_.clear();
    if (pid_ > 0) {
        handedOver().push_back(pid_);
        pid_ = -1;
    }
    profile_.reset();
}

} // namespace platform::calc
