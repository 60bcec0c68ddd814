// A copy of the program posting at the same moment as others, for the tests of the posting
// lock: in the program folder it is given it loads the settings as a start does, waits until
// the go file appears (so that every copy starts together), then makes its postings one after
// the other, as a user who saves again when told that a name is taken.
//
//   posting_race_child <program folder> <computer> <go file> transactions|payments:<number> <count>
//   posting_race_child <program folder> <computer> <go file> hold <release file>
//
// <computer> "-" is this computer; any other name makes the copy look like another computer.
// "hold" takes the posting lock of the program's data, creates "<release file>.held" and
// keeps the lock (counting its lease up) until the release file appears.
// Environment: POSTING_RACE_LEASE_MS the lease of its lock and of the locks it judges;
// POSTING_RACE_WAIT_MS how long it waits for a live holder; POSTING_STOP_AT_STEP a write step
// of its posting where it stops itself (SIGSTOP); POSTING_BREAK_AT "<step>:stop|kill", a step
// of breaking a dead lock (JudgedDead, MarkerTaken, LockReread) or of letting its own go
// (Releasing) where it stops or dies.
// Prints one line per posting made: "T <invoice number> <path>" or "P <payment number>".
// Exit status: 0 done, 2 a posting failed, 3 a message box was asked for, 4 wrong arguments.

#include "datafiles/datafoldertree.h"
#include "datafiles/paymentheaderexchange.h"
#include "datafiles/paymentlockfile.h"
#include "datafiles/postinglock.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "platform/prompts.h"
#include "postingfiles.h"
#include "posting/paymentposting.h"
#include "posting/transactionposting.h"
#include "posting/writestephook.h"
#include "support/childprompts.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>
#include <QString>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <unistd.h>

namespace {

void waitFor(const QString& file)
{
    while (!QFileInfo::exists(file))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

QString bankFile(const datafiles::SettingsStore& store)
{
    return datafiles::DataRoot(store) + QStringLiteral("Contacts/Bank.QVC");
}

// One unit from the own company to Ana, saved as a new transaction under the name proposed.
bool postTransaction(datafiles::SettingsStore& store)
{
    datafiles::TransactionHeader h;
    h.Value.Caption = QStringLiteral("1");
    h.FromMyCompany = {QStringLiteral("Firma"), true};
    h.ToMyCompany = {QStringLiteral("Firma"), false};
    h.tocompany = {bankFile(store), true};
    h.tocontact = {QStringLiteral("Ana"), true};
    h.tocompanyiselected.Caption = QStringLiteral("1");
    posting::TransactionPosting posting(store);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        posting.reloadSharedValues();
        // A name taken is refused under the lock, which first completes any posting cut
        // short: the counter read again then moves on.
        const QString path = datafiles::DataRoot(store) + QStringLiteral("Transactions/") + posting.nextFileName();
        const posting::TransactionResult result =
            posting.post({posting::SaveKind::SaveAs, h, path, postingtest::lineItemBytes(path)});
        if (result.outcome == posting::Outcome::Posted) {
            std::printf("T %s %s\n", result.header.TransactionNumber.Caption.toUtf8().constData(),
                        result.FileName.toUtf8().constData());
            return true;
        }
        if (result.refusal != posting::Refusal::TransactionFileExists) {
            std::fprintf(stderr, "%s\n", result.notice.text.toLocal8Bit().constData());
            return false;
        }
    }
    return false;
}

// One unit paid on the transaction, from Ana to the own company.
bool postPayment(datafiles::SettingsStore& store, const QString& transaction)
{
    const QString header = datafiles::DataRoot(store) + QStringLiteral("Transactions/") + transaction
        + QStringLiteral(".QVTH");
    posting::PaymentPosting posting(store);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        datafiles::PaymentRecord payment;
        datafiles::PaymentLockFile::release(header); // the payments window's lock is not at stake here
        if (datafiles::LoadHeaderForPayment(header, payment, store) != datafiles::PaymentHeaderLoad::Loaded)
            return false;
        payment.setPaymentValueText(QStringLiteral("1"));
        posting.reloadSharedValues();
        const QString path = datafiles::DataRoot(store) + QStringLiteral("Payments/") + posting.nextFileName();
        if (QFileInfo::exists(path))
            continue;
        const posting::PaymentResult result = posting.post({payment, path});
        if (result.outcome == posting::Outcome::Posted) {
            std::printf("P %s\n", QFileInfo(path).completeBaseName().toUtf8().constData());
            return true;
        }
        if (result.refusal != posting::Refusal::PaymentFileExists) {
            std::fprintf(stderr, "%s\n", result.notice.text.toLocal8Bit().constData());
            return false;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6)
        return 4;
    platform::setProgramFolder(QString::fromLocal8Bit(argv[1]));
    const QString computer = QString::fromLocal8Bit(argv[2]);
    if (computer != QLatin1String("-"))
        datafiles::PostingLock::pretendComputer(computer, computer + QStringLiteral(" boot"));
    const QString go = QString::fromLocal8Bit(argv[3]);
    const QString mode = QString::fromLocal8Bit(argv[4]);
    testsupport::NoPrompts prompts;
    platform::setPrompts(&prompts);
    platform::pinClock(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)));
    // However loaded the machine, a copy waits for the other rather than give up; a test of a
    // dead holder shortens the lease.
    const auto setting = [](const char* name, int otherwise) {
        return qEnvironmentVariableIsSet(name) ? qEnvironmentVariableIntValue(name) : otherwise;
    };
    datafiles::PostingLock::setTiming({setting("POSTING_RACE_WAIT_MS", 600000), setting("POSTING_RACE_LEASE_MS", 600000),
                                       100, setting("POSTING_RACE_TRUST_MS", 600000)});
    if (const int stopAt = setting("POSTING_STOP_AT_STEP", 0); stopAt > 0)
        posting::setWriteStepHook([stopAt](int step) {
            if (step == stopAt)
                ::raise(SIGSTOP);
            return true;
        });
    if (const QString breakAt = qEnvironmentVariable("POSTING_BREAK_AT"); !breakAt.isEmpty()) {
        const QStringList parts = breakAt.split(QLatin1Char(':'));
        const QMap<QString, datafiles::PostingLock::BreakStep> steps{
            {QStringLiteral("JudgedDead"), datafiles::PostingLock::BreakStep::JudgedDead},
            {QStringLiteral("MarkerTaken"), datafiles::PostingLock::BreakStep::MarkerTaken},
            {QStringLiteral("LockReread"), datafiles::PostingLock::BreakStep::LockReread},
            {QStringLiteral("Releasing"), datafiles::PostingLock::BreakStep::Releasing},
            {QStringLiteral("Renewing"), datafiles::PostingLock::BreakStep::Renewing}};
        if (parts.size() != 2 || !steps.contains(parts[0]))
            return 4;
        const auto at = steps.value(parts[0]);
        const int signal = parts[1] == QLatin1String("kill") ? SIGKILL : SIGSTOP;
        // A holder counts its lease up again and again: it stops at the first count only.
        datafiles::PostingLock::setBreakStepHook([at, signal](datafiles::PostingLock::BreakStep step) {
            static std::atomic<bool> counted{false};
            if (step == at && (step != datafiles::PostingLock::BreakStep::Renewing || !counted.exchange(true)))
                ::raise(signal);
        });
    }

    datafiles::SettingsStore store;
    store.setNetworkPathTest(postingtest::onShare);
    datafiles::LoadSettingsFile(store);

    if (mode == QLatin1String("hold")) {
        const QString release = QString::fromLocal8Bit(argv[5]);
        datafiles::PostingLock lock(datafiles::PostingLock::folderFor(store));
        // A posting cut short that it could not complete leaves the lock ours all the same.
        if (const auto status = lock.acquire();
            status != datafiles::PostingLock::Status::Held && status != datafiles::PostingLock::Status::Unfinished)
            return 2;
        QFile held(release + QStringLiteral(".held"));
        if (!held.open(QIODevice::WriteOnly))
            return 2;
        held.close();
        waitFor(release);
        // Whether the holder lost the lock by a lease that went uncounted too long; known
        // for sure once its counting has ended with the release.
        lock.release();
        std::printf("%s\n", lock.lapsed() ? "lapsed" : "kept");
        std::fflush(stdout);
        return 0;
    }

    const int count = std::atoi(argv[5]);
    waitFor(go);
    for (int i = 0; i < count; ++i) {
        const bool posted = mode.startsWith(QLatin1String("payments:")) ? postPayment(store, mode.mid(9))
                                                                          : postTransaction(store);
        std::fflush(stdout);
        if (!posted)
            return 2;
    }
    return 0;
}
