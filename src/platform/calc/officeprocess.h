#pragma once
// One office process started by us and reached over UNO: its own profile folder and pipe
// name, so several run side by side, and always ended, by force where it does not end.

#include "platform/calc/killwatch.h"
#include "platform/calc/officelaunch.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <QString>
#include <memory>
#include <sys/types.h>

namespace platform::calc {

class OfficeProcess {
public:
    using Launch = OfficeLaunch::Settings;

    OfficeProcess();
    ~OfficeProcess();
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    // Starts the office and connects to it; false with error set when either fails, and
    // then nothing of it is left running.
    bool start(const Launch& launch, QString& error);

    // Connects to an office that was started without us (the program's start-up starts its
    // office before the code that talks to it is loaded); from now on it is ours as if we had
    // started it. False with error set when it does not answer, and then it is ended.
    bool adopt(std::unique_ptr<OfficeLaunch> started, QString& error);

    css::uno::Reference<css::frame::XDesktop2> desktop() const { return desktop_; }
    css::uno::Reference<css::uno::XComponentContext> context() const { return remote_; }

    // Bounds the calls into the office made while the result lives: an office that has
    // not answered within limitMs is killed, and the calls fail instead of waiting for ever.
    [[nodiscard]] KillWatch::Timing bound(int limitMs) { return KillWatch::Timing(watch_, launch_->pid(), limitMs); }

    // Ends the office: closes its documents unsaved, asks it to terminate, and kills its
    // process group when it has not gone within a moment. A released office is only let
    // go, and so is the user's own office that took a visible launch over. Safe to call
    // more than once.
    void stop();

    // Ends the office by force, without a call into it or into the connection: for the
    // program's last moments, when the office runtime in our process may be partly torn
    // down. The connection is let go of unreleased, since releasing it calls into that
    // runtime. A released office is only let go, as by stop().
    void kill();

    // Hands a visible office to the user: from now on it is never ended by us.
    void release() { released_ = true; }

    // Whether the office has ended (or was never started); an ended office is collected.
    bool hasEnded() { return launch_->hasEnded(); }

    // Closes a document of an office without saving it and without asking.
    static void closeUnsaved(const css::uno::Reference<css::uno::XInterface>& document);

private:
    bool connect(QString& error);
    void end();
    void closeDocuments();

    std::unique_ptr<OfficeLaunch> launch_;
    bool released_ = false;
    css::uno::Reference<css::uno::XComponentContext> remote_;
    css::uno::Reference<css::frame::XDesktop2> desktop_;
    KillWatch watch_;
};

} // namespace platform::calc
