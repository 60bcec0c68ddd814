// Another copy of the program posting a transaction into a contact company file while the
// contact companies window of the test has that file open. In the program folder it is given
// it loads the settings as a start does, then saves a new transaction of <value> from the
// own company to the contact on <row> of <company file>, under the next free name.
//
//   contacts_posting_child <program folder> <company file> <row> <contact> <value> <mode> <marker>
//
// <mode>:
//   post   posts to the end;
//   crash  kills itself (SIGKILL) once the journal is written, before the first file is
//          renamed into place: a crash or a power cut at the worst moment;
//   pause  at that same moment, holding the posting lock with every new content written
//          beside its file, creates "<marker>.paused" and waits until "<marker>.go" appears,
//          then goes on to the end.
// Exit status: 0 posted, 2 not posted (the reason on stderr), 3 a message box was asked for,
// 4 wrong arguments.

#include "datafiles/datafoldertree.h"
#include "datafiles/postinglock.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "platform/prompts.h"
#include "posting/postingjournal.h"
#include "posting/transactionposting.h"
#include "posting/writestephook.h"
#include "support/childprompts.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {

void waitFor(const QString& file)
{
    while (!QFileInfo::exists(file))
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

// The line items of a transaction of one item, as the grid saves them.
QByteArray lineItems(const QString& path)
{
    grid::GridCore core;
    core.ChangeItem(1, 1, QStringLiteral("Service"));
    return grid::GridFile(core).SaveFileBytes(path, true);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 8)
        return 4;
    platform::setProgramFolder(QString::fromLocal8Bit(argv[1]));
    const QString companyFile = QString::fromLocal8Bit(argv[2]);
    const QString row = QString::fromLocal8Bit(argv[3]);
    const QString contact = QString::fromLocal8Bit(argv[4]);
    const QString value = QString::fromLocal8Bit(argv[5]);
    const QString mode = QString::fromLocal8Bit(argv[6]);
    const QString marker = QString::fromLocal8Bit(argv[7]);
    if (mode != QLatin1String("post") && mode != QLatin1String("crash") && mode != QLatin1String("pause"))
        return 4;
    testsupport::NoPrompts prompts;
    platform::setPrompts(&prompts);
    platform::pinClock(QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0)));
    // However loaded the machine, this copy waits for the window's save rather than give up,
    // and is never taken for dead while it is paused.
    datafiles::PostingLock::setTiming({600000, 600000, 100, 600000});

    datafiles::CreateDataFolders();
    datafiles::SettingsStore store;
    datafiles::LoadSettingsFile(store);
    const QString folder = datafiles::PostingLock::folderFor(store);

    // The journal stands once every new content is written beside its file; the next step
    // renames the first of them (the company file) into place.
    bool reached = false;
    posting::setWriteStepHook([&](int) {
        if (reached || !posting::PostingJournal::exists(folder))
            return true;
        reached = true;
        if (mode == QLatin1String("crash"))
            ::raise(SIGKILL);
        if (mode == QLatin1String("pause")) {
            QFile paused(marker + QStringLiteral(".paused"));
            if (paused.open(QIODevice::WriteOnly))
                paused.close();
            waitFor(marker + QStringLiteral(".go"));
        }
        return true;
    });

    datafiles::TransactionHeader h;
    h.Value.Caption = value;
    h.FromMyCompany = {QStringLiteral("Firma"), true};
    h.ToMyCompany = {QStringLiteral("Firma"), false};
    h.tocompany = {companyFile, true};
    h.tocontact = {contact, true};
    h.tocompanyiselected.Caption = row;
    posting::TransactionPosting posting(store);
    posting.reloadSharedValues();
    const QString path = datafiles::DataRoot(store) + datafiles::TransactionsFolder + posting.nextFileName();
    const posting::TransactionResult result =
        posting.post({posting::SaveKind::SaveAs, h, path, lineItems(path)});
    if (result.outcome != posting::Outcome::Posted) {
        std::fprintf(stderr, "%s\n", result.notice.text.toLocal8Bit().constData());
        return 2;
    }
    return 0;
}
