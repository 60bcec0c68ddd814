#include "posting/postingchecks.h"

#include "datafiles/fileprocedures.h"
#include "datafiles/postinglock.h"
#include "datafiles/settingsstore.h"
#include "platform/vb.h"
#include "posting/postingjournal.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace posting {

namespace {

std::optional<QString> writeProblem(const QString& path)
{
    const auto fails = [](const QString& entry, int mode) {
        return ::access(QFile::encodeName(entry).constData(), mode) != 0;
    };
    const QString folder = QFileInfo(path).absolutePath();
    int error = 0;
    if (fails(folder, W_OK | X_OK))
        error = errno;
    else if (QFileInfo::exists(path) && fails(path, W_OK))
        error = errno;
    if (error == 0)
        return std::nullopt;
    return QStringLiteral("The file \"%1\" could not be written: %2.")
        .arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

CheckResult refuse(Refusal refusal, const QString& text, const QString& title, int style)
{
    return {refusal, {text, title, style}};
}

CheckResult checkNetwork(const datafiles::SettingsStore& store, const QString& kindFolder,
                         const QString& kindName)
{
    if (store.networkMode() == datafiles::NetworkMode::SingleMachine)
        return {};
    // Either folder will do, in both modes; an empty one names no folder at all.
    const auto reachable = [&](const QString& hostFolder) {
        return !hostFolder.isEmpty()
            && datafiles::FolderExists(hostFolder + QStringLiteral("QVNET/RAzar/") + kindFolder);
    };
    if (!reachable(store.MyHostSystem.value()) && !reachable(store.lblConnectedtohostsystem.value()))
        return refuse(Refusal::NetworkFolderMissing,
                      QStringLiteral("Network connection error. Can't find Network %1 Directory.").arg(kindName));
    if (store.OptionUser.value() && store.CheckReadWrite.Value.value() == 0)
        return refuse(Refusal::NetworkUserMayNotWrite,
                      QStringLiteral("Network users are not allowed to edit files. Contact your "
                                     "network host for assistance. "));
    return {};
}

CheckResult takePostingLock(datafiles::PostingLock& lock, const QString& kind)
{
    switch (lock.acquire()) {
    case datafiles::PostingLock::Status::Held:
        return {};
    case datafiles::PostingLock::Status::Unfinished:
        return refuse(Refusal::PendingPostingUnfinished, lock.error());
    case datafiles::PostingLock::Status::Busy:
        return refuse(Refusal::PostingBusy,
                      QStringLiteral("%1 is saving another posting into \"%2\" right now. Nothing was changed; "
                                     "please save this %3 again in a moment.")
                          .arg(lock.holder().describe(), lock.folder(), kind));
    case datafiles::PostingLock::Status::Failed:
        break;
    }
    return refuse(Refusal::NotWritable,
                  QStringLiteral("The %1 was not saved and no balance was changed. %2").arg(kind, lock.error()));
}

CheckResult checkWritable(const FileChangeSet& files, const QString& folder)
{
    std::vector<QString> paths = files.paths();
    paths.push_back(PostingJournal::path(folder));
    for (const QString& path : paths)
        if (const auto problem = writeProblem(path))
            return refuse(Refusal::NotWritable, *problem);
    return {};
}

std::optional<platform::Decimal> amountOf(const QString& text)
{
    return platform::Decimal::fromText(text);
}

CheckResult checkWrittenExactly(const platform::Decimal& amount, const QString& what, const QString& kind)
{
    if (amount.writtenExactly())
        return {};
    return refuse(Refusal::BalanceTooLarge,
                  notWritten(what, amount) + notCompleted(kind),
                  HeaderMenuTitle);
}

QString ambiguousBalance(const QString& what, const QString& text)
{
    QString whole = text.trimmed();
    whole.remove(QLatin1Char(','));
    return QStringLiteral("%1 is \"%2\", which reads as %3 to some and as %4 to others: a comma before three "
                          "digits may group thousands or separate decimals. Write it with \".\" as the decimal "
                          "separator and without grouping, and save again.")
        .arg(what, text, whole, platform::Decimal::fromText(text)->text());
}

QString notWritten(const QString& what, const platform::Decimal& amount)
{
    using Range = platform::Decimal::Range;
    const QString digits = QString::number(platform::Decimal::WrittenDigits);
    switch (amount.range()) {
    case Range::TooLarge:
        return QStringLiteral("%1 would become too large to hold.").arg(what);
    case Range::TooSmall:
    case Range::TooManyDigits:
        return QStringLiteral("%1 would need more digits than Quorvane writes an amount with (%2 significant "
                              "digits), so it could not be kept exactly.")
            .arg(what, digits);
    case Range::Held:
        break;
    }
    return QStringLiteral("%1 would become about %2, with more digits than Quorvane writes an amount with (%3 "
                          "significant digits), so it could not be kept exactly.")
        .arg(what, amount.text(), digits);
}

QString notCompleted(const QString& kind)
{
    return QStringLiteral(" Therefore, this %1 will not be completed!").arg(kind);
}

QString sideWord(ContactBalances::Side side)
{
    return side == ContactBalances::Side::From ? QStringLiteral("coming from") : QStringLiteral("going to");
}

CheckResult lockedRefusal(ContactBalances::Side side, const QString& holder, const QString& kind)
{
    return refuse(side == ContactBalances::Side::From ? Refusal::FromLocked : Refusal::ToLocked,
                  QStringLiteral("File for the Company that this transfer is %1 is open for editing by "
                                 "%2. Therefore, this %3 will not be completed!")
                      .arg(sideWord(side), holder, kind),
                  HeaderMenuTitle);
}

CheckResult contactRefusal(const ContactBalances& balances, ContactBalances::Status status,
                           const QString& kind,
                           const std::function<QString(const ContactBalances::Party&)>& notFound)
{
    const ContactBalances::Party& party = balances.problemParty();
    const bool from = party.side == ContactBalances::Side::From;
    const QString therefore = notCompleted(kind);
    switch (status) {
    case ContactBalances::Status::Ready:
        break;
    case ContactBalances::Status::FileUnreadable:
        return refuse(Refusal::FileUnreadable, balances.error(), HeaderMenuTitle);
    case ContactBalances::Status::ContactNotFound:
        return refuse(from ? Refusal::FromContactNotFound : Refusal::ToContactNotFound, notFound(party),
                      HeaderMenuTitle);
    case ContactBalances::Status::NoBalanceColumn:
        return refuse(Refusal::BalanceNotNumber,
                      QStringLiteral("The file %1 has no balance column, so the balance of %2 cannot be "
                                     "changed.").arg(party.companyFile, party.contact) + therefore,
                      HeaderMenuTitle);
    case ContactBalances::Status::BalanceNotNumber:
        return refuse(Refusal::BalanceNotNumber,
                      QStringLiteral("The balance of %1 in %2 is not a number (\"%3\").")
                              .arg(party.contact, party.companyFile, balances.balanceText()) + therefore,
                      HeaderMenuTitle);
    case ContactBalances::Status::BalanceAmbiguous:
        return refuse(Refusal::BalanceAmbiguous,
                      ambiguousBalance(QStringLiteral("The balance of %1 in %2").arg(party.contact, party.companyFile),
                                       balances.balanceText()) + therefore,
                      HeaderMenuTitle);
    case ContactBalances::Status::BalanceTooLarge:
    case ContactBalances::Status::BalanceNotExact:
        return refuse(Refusal::BalanceTooLarge,
                      notWritten(QStringLiteral("The balance of %1 in %2").arg(party.contact, party.companyFile),
                                 balances.newBalance()) + therefore,
                      HeaderMenuTitle);
    }
    return {};
}

CheckResult sharedValuesRefusal(SharedValues::Status status, const SharedValues& shared,
                                const QString& kind)
{
    const QString therefore = notCompleted(kind);
    switch (status) {
    case SharedValues::Status::Ready:
        break;
    case SharedValues::Status::HostFileUnreadable:
        return refuse(Refusal::HostFileUnreadable, shared.error() + therefore);
    case SharedValues::Status::BalanceAmbiguous:
        return refuse(Refusal::BalanceAmbiguous,
                      ambiguousBalance(QStringLiteral("The balance of your company in %1").arg(shared.balanceFile()),
                                       shared.storedBalance()) + therefore,
                      HeaderMenuTitle);
    case SharedValues::Status::BalanceTooLarge:
    case SharedValues::Status::BalanceNotExact:
        return refuse(Refusal::BalanceTooLarge,
                      notWritten(QStringLiteral("The balance of your company"), shared.newBalance()) + therefore,
                      HeaderMenuTitle);
    case SharedValues::Status::ValueUnreadable:
        return refuse(Refusal::OwnValueUnreadable, shared.error() + therefore, HeaderMenuTitle);
    }
    return {};
}

Outcome commitPosting(const FileChangeSet& files, const SharedValues& shared, const QString& kind,
                      const datafiles::PostingLock& lock, Notice& notice)
{
    const FileChangeSet::Result commit = files.commit(lock.folder(), [&lock] { return lock.stillHeld(); });
    switch (commit.outcome) {
    case FileChangeSet::Outcome::Written:
        break;
    case FileChangeSet::Outcome::PutBack:
        notice.text = QStringLiteral("The %1 was not saved and no balance was changed. %2").arg(kind, commit.error);
        return Outcome::NotWritten;
    case FileChangeSet::Outcome::Deferred:
        notice.text = QStringLiteral("The %1 could not be saved completely. %2 Quorvane completes it before "
                                     "the next posting, on this or another computer, or when it starts "
                                     "again.").arg(kind, commit.error);
        shared.applyToStore();
        return Outcome::Deferred;
    }
    shared.applyToStore();
    return Outcome::Posted;
}


} // namespace posting
