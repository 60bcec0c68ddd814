// Bootstraps the UNO runtime in our own process.

#include "platform/calc/unoruntime.h"

#include "platform/calc/officeprofile.h"
#include "platform/calc/unostrings.h"

#include <cppuhelper/bootstrap.hxx>
#include <mutex>
#include <QByteArray>
#include <QFileInfo>
#include <cstdlib>

namespace platform::calc {

namespace {

struct Runtime {
    css::uno::Reference<css::uno::XComponentContext> context;
    QString error;
};

Runtime bootstrap()
{
    Runtime runtime;
    // The runtime finds the office's type libraries through this variable. It is set for
    // our process only; the office processes we start are given an environment without it.
    const QString rc = UnoRuntime::programDir() + QStringLiteral("/fundamentalrc");
    if (qEnvironmentVariableIsEmpty("URE_BOOTSTRAP")) {
        if (!QFileInfo::exists(rc)) {
            runtime.error = QStringLiteral("The spreadsheet program is not installed (%1 is missing).").arg(rc);
            return runtime;
        }
        qputenv("URE_BOOTSTRAP", QByteArray("vnd.sun.star.pathname:") + rc.toLocal8Bit());
    }
    try {
        runtime.context = cppu::defaultBootstrap_InitialComponentContext();
    } catch (const css::uno::Exception& e) {
        runtime.error = QStringLiteral("The spreadsheet program's runtime could not start: %1")
                            .arg(toQString(e.Message));
    }
    if (!runtime.context.is() && runtime.error.isEmpty())
        runtime.error = QStringLiteral("The spreadsheet program's runtime could not start.");
    return runtime;
}

} // namespace

css::uno::Reference<css::uno::XComponentContext> UnoRuntime::context(QString& error)
{
    static std::once_flag once;
    static Runtime* runtime = nullptr;
    // Never destroyed: the runtime must outlive every connection, static destructors included.
    std::call_once(once, [] { runtime = new Runtime(bootstrap()); });
    error = runtime->error;
    return runtime->context;
}

QString UnoRuntime::programDir()
{
    return OfficeProfile::programDir();
}

} // namespace platform::calc
