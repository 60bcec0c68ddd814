// Loads the spreadsheet module at the first spreadsheet command.

#include "platform/calc/calcmodule.h"

#include "platform/calc/calcmoduleentry.h"
#include "platform/calc/startedoffice.h"

#include <QCoreApplication>
#include <QFile>

#include <atomic>
#include <dlfcn.h>
#include <mutex>

namespace platform::calc::module {

namespace {

struct Loaded {
    decltype(&quorvane_calc_new) make = nullptr;
    decltype(&quorvane_calc_end_office) endOffice = nullptr;
    QString error;
};

std::atomic<bool> triedToLoad{false};

// Loaded once and never unloaded: the office runtime it brings must outlive every connection.
const Loaded& loaded()
{
    static std::once_flag once;
    static Loaded module;
    std::call_once(once, [] {
        triedToLoad = true;
        const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/" QUORVANE_CALC_MODULE_FILE);
        void* handle = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (handle) {
            module.make = reinterpret_cast<decltype(module.make)>(::dlsym(handle, "quorvane_calc_new"));
            module.endOffice = reinterpret_cast<decltype(module.endOffice)>(::dlsym(handle, "quorvane_calc_end_office"));
        }
        if (!module.make || !module.endOffice) {
            const char* why = ::dlerror();
            module.make = nullptr;
            module.endOffice = nullptr;
            module.error = QStringLiteral("Quorvane's part that drives the spreadsheet program could not be loaded (%1).")
                               .arg(why ? QString::fromLocal8Bit(why) : path);
        }
    });
    return module;
}

} // namespace

void install(const CalcOptions& options)
{
    setSpreadsheetFactory([options]() -> std::unique_ptr<Spreadsheet> {
        const Loaded& module = loaded();
        if (!module.make)
            return unavailableSpreadsheet(module.error);
        return std::unique_ptr<Spreadsheet>(module.make(&options));
    });
    StartedOffice::installAsCheck(options);
}

void endOffice()
{
    StartedOffice::end();
    // Only a module that was loaded can have an office running.
    if (triedToLoad.load()) {
        if (const Loaded& module = loaded(); module.endOffice)
            module.endOffice();
    }
}

} // namespace platform::calc::module
