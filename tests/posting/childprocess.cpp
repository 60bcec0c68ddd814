#include "childprocess.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace postingtest {

namespace {

int waitFor(pid_t pid, int options)
{
    int status = 0;
    while (waitpid(pid, &status, options) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace

ChildProcess ChildProcess::start(const char* program, const QStringList& arguments, const QString& output,
                                 const Environment& environment)
{
    ChildProcess child;
    child.m_output = output;
    std::vector<QByteArray> bytes{QByteArray(program)};
    for (const QString& argument : arguments)
        bytes.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    // Ours, with the child's own set or replaced.
    std::vector<QByteArray> variables;
    for (char** e = environ; *e; ++e) {
        const QByteArray variable(*e);
        const QByteArray name = variable.left(variable.indexOf('='));
        bool replaced = false;
        for (const auto& [own, value] : environment)
            replaced = replaced || own == name;
        if (!replaced)
            variables.push_back(variable);
    }
    for (const auto& [name, value] : environment)
        variables.push_back(name + '=' + value);
    std::vector<char*> envp;
    for (QByteArray& v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray out = output.toLocal8Bit();
    const QByteArray err = (output + QStringLiteral(".err")).toLocal8Bit();
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (posix_spawn(&child.m_pid, program, &actions, nullptr, argv.data(), envp.data()) != 0)
        child.m_pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

int ChildProcess::wait()
{
    if (m_pid > 0)
        m_status = waitFor(m_pid, 0);
    return m_status;
}

bool ChildProcess::ended() const
{
    siginfo_t info{};
    return m_pid > 0 && ::waitid(P_PID, id_t(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
}

bool ChildProcess::waitStopped()
{
    if (m_pid <= 0)
        return false;
    m_status = waitFor(m_pid, WUNTRACED);
    return WIFSTOPPED(m_status);
}

void ChildProcess::resume() const
{
    if (m_pid > 0)
        ::kill(m_pid, SIGCONT);
}

void ChildProcess::kill() const
{
    if (m_pid > 0)
        ::kill(m_pid, SIGKILL);
}

bool ChildProcess::exited(int code) const
{
    return WIFEXITED(m_status) && WEXITSTATUS(m_status) == code;
}

std::string ChildProcess::describe() const
{
    std::string text;
    if (WIFEXITED(m_status))
        text = "exit status " + std::to_string(WEXITSTATUS(m_status));
    else if (WIFSIGNALED(m_status))
        text = "signal " + std::to_string(WTERMSIG(m_status));
    else if (WIFSTOPPED(m_status))
        text = "stopped";
    else
        text = "wait status " + std::to_string(m_status);
    const std::string said = errors();
    return said.empty() ? text : text + ": " + said;
}

std::string ChildProcess::errors() const
{
    QFile file(m_output + QStringLiteral(".err"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

QStringList ChildProcess::lines() const
{
    QFile file(m_output);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace postingtest
