#pragma once
// The process half of an office we run: its executable, profile folder and pipe name, the
// start (again after the restart an office asks for, and after a crash while it starts), the
// wait until it takes connections on its pipe, and its end by force. Nothing here talks to
// the office, so the program can start one before it loads the code that does.

#include "platform/calc/calcoptions.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <sys/types.h>

class QTemporaryDir;

namespace platform::calc {

class OfficeLaunch {
public:
    struct Settings {
        QString program;       // the office executable
        bool headless = true;  // false: a normal visible office for the user
        QString profileDir;    // "" with headless: a fresh private folder for this start;
                               // without headless: the user's own
        bool owned = true;     // ours to end (dies with us); false: handed to the user
        int timeoutMs = 60000; // how long to wait for it to answer
        int quitLimitMs = 10000; // how long ending it may take before it is killed
    };

    // What a look at a starting office found.
    enum class State {
        Running,   // its process runs (it may not take connections yet)
        Restarted, // it ended asking to be started again, or crashed, and was started again
        HandedOff, // a visible launch's launcher gave the request to the user's own office
        Failed,    // it ended and will not answer; the error says why
    };

    // How the program's private office for these options is started in that profile folder:
    // the same for the start-up check and for the first spreadsheet command.
    static Settings privateOffice(const CalcOptions& options, const QString& profileDir);
    // A new profile folder for a private office; null, with error set, when none can be made.
    static std::unique_ptr<QTemporaryDir> newPrivateProfile(QString& error);

    OfficeLaunch();
    // Lets the process go without ending it: the owner ends it first (killProcess).
    ~OfficeLaunch();
    OfficeLaunch(const OfficeLaunch&) = delete;
    OfficeLaunch& operator=(const OfficeLaunch&) = delete;

    // Checks the program, sets up a headless office's profile and starts the process; false
    // with error set when it cannot be started.
    bool start(const Settings& settings, QString& error);

    // Looks whether the starting office ended, and starts it again where another try may
    // do. Only for the start: a running office is ended through killProcess.
    State look(QString& error);

    // Waits until the office takes connections on its pipe, within the settings' time limit.
    // False with error set when it ended or did not come up; it is then still to be ended.
    bool waitUntilListening(QString& error);

    // Whether something takes connections on the office's pipe now.
    bool listening() const;

    const Settings& settings() const { return settings_; }
    const QString& pipe() const { return pipe_; }
    pid_t pid() const { return pid_; }
    QString profileDir() const;

    // Whether the office has ended (or was never started); an ended office is collected.
    bool hasEnded();

    // Gives the office graceMs to end by itself, then kills its process group, and removes
    // the pipes a killed office leaves.
    void killProcess(int graceMs);

    // Lets the office go: a process that may still run is collected later, so it leaves no
    // zombie, and a private profile folder made for this start is removed.
    void letGo();

private:
    bool spawn(QString& error);
    bool exitedAtStart(int& status);
    bool crashedAtStart(int status) const;

    Settings settings_;
    std::unique_ptr<QTemporaryDir> profile_;
    QString pipe_;
    pid_t pid_ = -1;
    QDateTime startedAt_;
    int restarts_ = 0;
    int crashes_ = 0;
};

} // namespace platform::calc
