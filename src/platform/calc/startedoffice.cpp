// Holds the office the start-up check started until a spreadsheet command takes it over.

#include "platform/calc/startedoffice.h"

#include "platform/calc/officelaunch.h"
#include "platform/spreadsheet.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <map>
#include <mutex>

namespace platform::calc {

namespace {

std::mutex& lock()
{
    static std::mutex mutex;
    return mutex;
}

// By office program, as the running offices are. Never destroyed: its offices are ended
// before the program's static objects go.
std::map<QString, StartedOffice::TakenOver>& started()
{
    static auto* offices = new std::map<QString, StartedOffice::TakenOver>;
    return *offices;
}

// Nobody talks to these offices yet, so there is nothing to close: they are ended by force.
void endAll()
{
    const std::lock_guard<std::mutex> guard(lock());
    for (auto& [program, office] : started()) {
        if (office.launch) {
            office.launch->killProcess(0);
            office.launch->letGo();
        }
    }
    started().clear();
}

} // namespace

bool StartedOffice::start(const CalcOptions& options, QString& error)
{
    const std::lock_guard<std::mutex> guard(lock());
    TakenOver& slot = started()[options.officeProgram];
    if (slot.launch && !slot.launch->hasEnded())
        return true;
    slot.launch.reset();
    slot.profile = OfficeLaunch::newPrivateProfile(error);
    if (!slot.profile) {
        started().erase(options.officeProgram);
        return false;
    }
    auto launch = std::make_unique<OfficeLaunch>();
    if (!launch->start(OfficeLaunch::privateOffice(options, slot.profile->path()), error)
        || !launch->waitUntilListening(error)) {
        launch->killProcess(0);
        launch.reset();
        started().erase(options.officeProgram);
        return false;
    }
    static std::once_flag registered;
    std::call_once(registered, [] {
        qAddPostRoutine(endAll);
        std::atexit(endAll);
    });
    slot.launch = std::move(launch);
    return true;
}

void StartedOffice::installAsCheck(const CalcOptions& options)
{
    setSpreadsheetCheck([options] {
        QString error;
        return start(options, error);
    });
}

StartedOffice::TakenOver StartedOffice::takeOver(const QString& officeProgram)
{
    const std::lock_guard<std::mutex> guard(lock());
    const auto found = started().find(officeProgram);
    if (found == started().end())
        return {};
    TakenOver office = std::move(found->second);
    started().erase(found);
    if (office.launch && office.launch->hasEnded()) {
        office.launch->letGo();
        return {};
    }
    return office;
}

void StartedOffice::end()
{
    endAll();
}

} // namespace platform::calc
