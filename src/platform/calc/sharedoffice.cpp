// Keeps the program's private office for the whole run.

#include "platform/calc/sharedoffice.h"

#include "platform/calc/officeprocess.h"
#include "platform/calc/startedoffice.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

namespace platform::calc {

namespace {

struct Running {
    std::unique_ptr<QTemporaryDir> profile;
    std::shared_ptr<OfficeProcess> office;
};

std::mutex& lock()
{
    static std::mutex mutex;
    return mutex;
}

// By office program: tests run offices of other programs beside the installed one. Never
// destroyed: the offices are ended before the program's static objects go, by end().
std::map<QString, Running>& offices()
{
    static auto* running = new std::map<QString, Running>;
    return *running;
}

// Whether a started office still takes calls; one that does not answer within the limit is
// killed, and the call then fails at once.
bool answers(OfficeProcess& office, int limitMs)
{
    if (office.hasEnded())
        return false;
    try {
        const KillWatch::Timing bounded = office.bound(limitMs);
        return office.context()->getServiceManager().is();
    } catch (const css::uno::Exception&) {
        return false;
    }
}

// The program ends its office while its application object goes, when the office runtime in
// our process is still whole. An exit handler is too late for calls into the office: by
// then the runtime's libraries have freed what they set up after the handler was registered
// (a first failed call into an office sets some up), and a call that fails over a connection
// that is gone uses it, which now and then crashed the program on its way out.
void endWithTheApplication()
{
    SharedOffice::end();
}

// A program that ends without its application object going (no application, or exit() called
// directly) has its offices killed, without a call into them.
void endAtExit()
{
    const std::lock_guard<std::mutex> guard(lock());
    for (auto& [program, slot] : offices()) {
        if (slot.office)
            slot.office->kill();
        slot.office.reset();
        slot.profile.reset();
    }
    offices().clear();
}

void registerEnd()
{
    static std::once_flag registered;
    std::call_once(registered, [] {
        qAddPostRoutine(endWithTheApplication);
        std::atexit(endAtExit);
    });
}

} // namespace

std::shared_ptr<OfficeProcess> SharedOffice::running(const CalcOptions& options, QString& error)
{
    const std::lock_guard<std::mutex> guard(lock());
    Running& slot = offices()[options.officeProgram];
    if (slot.office && answers(*slot.office, options.quitTimeoutMs))
        return slot.office;
    if (slot.office)
        slot.office->stop(); // ends what is left of one that died or froze
    slot.office.reset();
    auto office = std::make_shared<OfficeProcess>();
    // The office the program's start-up started is taken over rather than a second one
    // started; one that does not answer is ended, and a new one started as below.
    if (StartedOffice::TakenOver started = StartedOffice::takeOver(options.officeProgram); started.launch) {
        QString notAnswering;
        if (office->adopt(std::move(started.launch), notAnswering)) {
            slot.profile = std::move(started.profile);
            registerEnd();
            slot.office = std::move(office);
            return slot.office;
        }
    }
    if (!slot.profile) {
        slot.profile = OfficeLaunch::newPrivateProfile(error);
        if (!slot.profile)
            return nullptr;
    }
    if (!office->start(OfficeLaunch::privateOffice(options, slot.profile->path()), error)) {
        // A profile that a failed start may have left half made is not used again.
        slot.profile.reset();
        return nullptr;
    }
    registerEnd();
    slot.office = std::move(office);
    return slot.office;
}

void SharedOffice::end()
{
    StartedOffice::end();
    const std::lock_guard<std::mutex> guard(lock());
    for (auto& [program, slot] : offices()) {
        if (slot.office)
            slot.office->stop();
        slot.office.reset();
        slot.profile.reset();
    }
    offices().clear();
}

} // namespace platform::calc
