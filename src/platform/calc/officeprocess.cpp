// Starts an office process with its own profile and pipe, connects over UNO, and ends it.

#include "platform/calc/officeprocess.h"

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

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

using namespace css;

namespace platform::calc {

namespace {

constexpr int pollMs = 50;
// How long a running office may take to answer after our launcher handed it the request.
constexpr int handOverWaitMs = 15000;

} // namespace

OfficeProcess::OfficeProcess() : launch_(std::make_unique<OfficeLaunch>()) {}

OfficeProcess::~OfficeProcess()
{
    stop();
}

bool OfficeProcess::start(const Launch& launch, QString& error)
{
    released_ = false;
    if (launch_->start(launch, error) && connect(error))
        return true;
    stop();
    return false;
}

bool OfficeProcess::adopt(std::unique_ptr<OfficeLaunch> started, QString& error)
{
    stop();
    released_ = false;
    launch_ = std::move(started);
    if (connect(error))
        return true;
    stop();
    return false;
}

bool OfficeProcess::connect(QString& error)
{
    const uno::Reference<uno::XComponentContext> local = UnoRuntime::context(error);
    if (!local.is())
        return false;
    const OUString url =
        toOUString(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(launch_->pipe()));
    const int timeoutMs = launch_->settings().timeoutMs;
    QElapsedTimer clock;
    clock.start();
    QElapsedTimer handedOff;
    try {
        const uno::Reference<bridge::XUnoUrlResolver> resolver = bridge::UnoUrlResolver::create(local);
        while (clock.elapsed() < timeoutMs) {
            // A running office answers within moments of taking the request over; a
            // launcher that ended without one (no usable display, say) leaves nobody.
            if (handedOff.isValid() && handedOff.elapsed() > handOverWaitMs) {
                error = QStringLiteral("The spreadsheet program did not open (is a display available?).");
                return false;
            }
            switch (launch_->look(error)) {
            case OfficeLaunch::State::Failed:
                return false;
            case OfficeLaunch::State::Restarted:
                continue;
            case OfficeLaunch::State::HandedOff:
                handedOff.start();
                continue;
            case OfficeLaunch::State::Running:
                break;
            }
            try {
                // An office that takes the connection and then hangs would hold these calls.
                const KillWatch::Timing bounded(watch_, launch_->pid(),
                                                int(std::max<qint64>(1, timeoutMs - clock.elapsed())));
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
        error = QStringLiteral("The spreadsheet program did not answer within %1 seconds.").arg(timeoutMs / 1000);
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

void OfficeProcess::end()
{
    // A visible launch is ours while its launcher runs; without it, the user's own office
    // took the request over, and that office is never ended here.
    if (!launch_->settings().owned && launch_->pid() <= 0)
        return;
    int graceMs = 0;
    if (desktop_.is()) {
        // An office that no longer answers would hold these calls for ever: past the
        // limit it is killed, and the calls return with the connection gone.
        const KillWatch::Timing bounded(watch_, launch_->pid(), launch_->settings().quitLimitMs);
        closeDocuments();
        try {
            desktop_->terminate();
            graceMs = 5000;
        } catch (const lang::DisposedException&) {
            graceMs = 5000; // the office went away while answering, as it does
        } catch (const uno::Exception&) {
        }
    }
    launch_->killProcess(graceMs);
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
    launch_->letGo();
}

} // namespace platform::calc
