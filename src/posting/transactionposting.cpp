#include "posting/transactionposting.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/fileprocedures.h"
#include "datafiles/hostfile.h"
#include "datafiles/linefield.h"
#include "datafiles/postinglock.h"
#include "platform/confinedfolder.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "datafiles/transactionheaderfile.h"
#include "platform/clock.h"
#include "platform/textcodec.h"
#include "platform/vb.h"
#include "posting/companyfile.h"
#include "posting/contactbalances.h"
#include "posting/filechangeset.h"
#include "posting/postingchecks.h"
#include "posting/sharedvalues.h"
#include "posting/storedlines.h"

#include <optional>

namespace posting {

namespace {

using datafiles::TransactionHeader;
using platform::Decimal;
using platform::vb::CDbl;
using platform::vb::CStr;
using Side = ContactBalances::Side;

// The least value a transaction is posted with.
const Decimal LeastValue = *Decimal::fromText(QStringLiteral("0.1"));
constexpr int AmountPaidLine = 16;
constexpr int BalanceLine = 17;
constexpr int ValueLine = 3;

const QString Extension = QStringLiteral(".QVT");
const QString Kind = QStringLiteral("transaction");

// The party of one side: the own company when its entry is checked, else the contact named
// by the company and contact entries. A side is never both.
struct HeaderParty {
    bool ownCompany = false;
    QString companyFile;
    QString contact;
    QString rowText;
};

HeaderParty fromSide(const TransactionHeader& h)
{
    return {h.FromMyCompany.Checked, h.fromcompany.Caption, h.fromcontact.Caption,
            h.fromcompanyiselected.Caption};
}

HeaderParty toSide(const TransactionHeader& h)
{
    return {h.ToMyCompany.Checked, h.tocompany.Caption, h.tocontact.Caption,
            h.tocompanyiselected.Caption};
}

CheckResult refuseHeader(Refusal refusal, const QString& text)
{
    return refuse(refusal, text, HeaderMenuTitle);
}

// The parties' company files must exist and carry no edit lock, whoever holds it; all of
// it is checked before any balance changes.
CheckResult checkCompanyFiles(const HeaderParty& from, const HeaderParty& to, SaveKind kind)
{
    const auto missing = [kind](Side side) {
        return kind == SaveKind::Save
            ? QStringLiteral("File for the Company that this transfer is %1 don't exist anymore. "
                             "Transaction can't be completed!").arg(sideWord(side))
            : QStringLiteral("File for the Company that you select this transfer is %1 don't exist "
                             "anymore. Therefore, this transaction can't be completed!").arg(sideWord(side));
    };
    if (!from.ownCompany && !datafiles::FileExists(from.companyFile))
        return refuseHeader(Refusal::FromFileMissing, missing(Side::From));
    if (!to.ownCompany && !datafiles::FileExists(to.companyFile))
        return refuseHeader(Refusal::ToFileMissing, missing(Side::To));
    for (const Side side : {Side::From, Side::To}) {
        const HeaderParty& party = side == Side::From ? from : to;
        if (party.ownCompany)
            continue;
        if (const auto holder = CompanyFile::lockHolder(party.companyFile))
            return lockedRefusal(side, *holder, Kind);
    }
    return {};
}

// The sentence for a contact whose row holds another contact now.
QString notFound(const ContactBalances::Party& party)
{
    return party.contact + QStringLiteral(" is not found on the location you selected in the ")
        + party.companyFile
        + QStringLiteral(" 's file. To save transaction, again select contact and click on 'Transfer %1'.")
              .arg(party.side == Side::From ? QStringLiteral("from") : QStringLiteral("to"));
}

TransactionResult refused(const CheckResult& check)
{
    TransactionResult result;
    result.outcome = Outcome::Refused;
    result.refusal = check.refusal;
    result.notice = check.notice;
    return result;
}

// Save keeps what the header file on disk says of the transaction's number and of its
// payments: payments are posted to the header file by the payments window, not to the
// transactions window's copy of it. When the value changed, the balance still open follows.
void keepStoredHeaderLines(TransactionHeader& header, const StoredLines& stored, const Decimal& value)
{
    if (stored.status != StoredLines::Status::Read)
        return;
    header.TransactionNumber.Caption = stored.line(datafiles::TransactionHeaderKeyLine);
    header.AmountPaid.Caption = stored.line(AmountPaidLine);
    header.Balance.Caption = stored.line(BalanceLine);
    const auto paid = amountOf(header.AmountPaid.Caption);
    const auto storedValue = amountOf(stored.line(ValueLine));
    if (paid && !(storedValue && *storedValue == value))
        header.Balance.Caption = (value - *paid).text();
}

// The header file of a transaction that Save posts again says which value was posted last.
// A value line that is empty or not a number, or below the least value a save posts (a
// negative one among them), was not written by a posting: the file is damaged, and taking it
// for 0 would post the whole value a second time.
CheckResult checkStoredHeader(const StoredLines& stored, const QString& headerPath)
{
    if (stored.status == StoredLines::Status::Unreadable)
        return refuse(Refusal::HeaderUnreadable, stored.error + QStringLiteral(" Therefore, this transaction will "
                                                                               "not be completed!"),
                      datafiles::HeaderFileTitle);
    if (stored.status != StoredLines::Status::Read)
        return {};
    const QString text = stored.line(ValueLine);
    const auto value = amountOf(text);
    if (value && *value >= LeastValue)
        return {};
    return refuse(Refusal::HeaderUnreadable,
                  QStringLiteral("The transaction header file \"%1\" is damaged: the value posted for this "
                                 "transaction reads \"%2\", which is not a value a save posts. Therefore, this "
                                 "transaction will not be completed!").arg(headerPath, text),
                  datafiles::HeaderFileTitle);
}

// A character outside the files' code page would be written into the header file as "?": a
// party's company file would then be named by a path that leads nowhere, and its payments
// could not find it.
CheckResult checkStorable(const TransactionHeader& h)
{
    const auto unstorable = datafiles::firstUnstorableText(h);
    if (!unstorable)
        return {};
    return refuse(Refusal::UnstorableText,
                  platform::unstorableRefusal(QStringLiteral("The transaction"), unstorable->field, unstorable->text,
                                              unstorable->position));
}

QByteArray headerBytes(TransactionHeader header)
{
    return datafiles::writerFor(datafiles::transactionHeaderLines(header),
                                datafiles::LastLineEnd::Omitted)
        .scrambledBytes();
}

} // namespace

CheckResult TransactionPosting::checkEntry(const TransactionHeader& h, SaveKind kind) const
{
    if (auto network = checkNetwork(m_store, datafiles::TransactionsFolder, QStringLiteral("Transactions")); !network)
        return network;
    const auto value = amountOf(h.Value.Caption);
    if (!value || *value < LeastValue)
        return refuseHeader(Refusal::NoValue, QStringLiteral("Can't transfer without value!"));
    const HeaderParty from = fromSide(h);
    const HeaderParty to = toSide(h);
    if (from.ownCompany && h.FromMyCompany.Caption.isEmpty())
        return refuseHeader(Refusal::FromCompanyUnnamed, QStringLiteral("Name your Company first!"));
    if (!from.ownCompany && (from.companyFile.isEmpty() || from.contact.isEmpty()))
        return refuseHeader(Refusal::FromPartyMissing,
                            QStringLiteral("Select the Company and Contact this transfer is coming from!"));
    if (to.ownCompany && h.ToMyCompany.Caption.isEmpty())
        return refuseHeader(Refusal::ToCompanyUnnamed, QStringLiteral("Name your Company first!"));
    if (!to.ownCompany && (to.companyFile.isEmpty() || to.contact.isEmpty()))
        return refuseHeader(Refusal::ToPartyMissing,
                            kind == SaveKind::Save
                                ? QStringLiteral("Select the Company that this transfer is going to!")
                                : QStringLiteral("Select the Company and Contact this transfer is going to!"));
    if (from.ownCompany && to.ownCompany)
        return refuseHeader(Refusal::BothOwnCompany, QStringLiteral("Can't transfer from and to your company!"));
    return checkStorable(h);
}

void TransactionPosting::reloadSharedValues()
{
    if (m_store.networkMode() != datafiles::NetworkMode::SingleMachine)
        datafiles::ReadHostFile(m_store);
    else
        datafiles::RefreshMoneyFromSettingsFile(m_store); // another copy may have posted
}

QString TransactionPosting::nextFileName() const
{
    return CStr(CDbl(m_store.InvoiceNumber.value()).value_or(0) + 1) + Extension;
}

QString TransactionPosting::fileName(const QString& FileName)
{
    return FileName.endsWith(Extension) ? FileName : FileName + Extension;
}

bool TransactionPosting::fileTaken(const QString& FileName)
{
    return datafiles::FileExists(FileName) || datafiles::FileExists(FileName + QStringLiteral("H"));
}

TransactionResult TransactionPosting::post(const TransactionSave& save)
{
    // A share out of reach is told as such, before its lock is sought there.
    if (auto network = checkNetwork(m_store, datafiles::TransactionsFolder, QStringLiteral("Transactions")); !network)
        return refused(network);
    // Everything below is read and written under the posting lock, so that no other copy
    // or computer posts between the reading and the writing.
    datafiles::PostingLock lock(datafiles::PostingLock::folderFor(m_store));
    if (auto locked = takePostingLock(lock, Kind); !locked)
        return refused(locked);
    // What lies in the share is read through a handle on it: a link put there for a moment
    // must not bring a file from elsewhere on this computer into what the posting writes.
    std::optional<platform::ConfinedReads> confined;
    confined.emplace(datafiles::PostingLock::shareOf(lock.folder()));
    const TransactionHeader& h = save.header;
    if (auto entry = checkEntry(h, save.kind); !entry)
        return refused(entry);

    const QString path = fileName(save.FileName);
    const QString headerPath = path + QStringLiteral("H");
    if (save.kind == SaveKind::SaveAs && fileTaken(path))
        return refused(refuse(Refusal::TransactionFileExists,
                              QStringLiteral("Transaction %1 already exist. Save it under another name.").arg(path)));

    const StoredLines stored = save.kind == SaveKind::Save
        ? StoredLines::read(headerPath, datafiles::TransactionHeaderKeyLine)
        : StoredLines();
    if (auto storedHeader = checkStoredHeader(stored, headerPath); !storedHeader)
        return refused(storedHeader);

    const Decimal value = *amountOf(h.Value.Caption);
    const auto posted = Decimal::fromTextOrZero(h.oldvalue.Caption);
    if (!posted)
        return refused(refuseHeader(Refusal::OldValueNotNumber,
                                    QStringLiteral("The value already posted for this transaction is not "
                                                   "a number. Therefore, this transaction will not be "
                                                   "completed!")));
    // Save posts what changed since the last posting; Save As posts the whole value again.
    const Decimal change = save.kind == SaveKind::SaveAs ? value : value - *posted;

    const HeaderParty from = fromSide(h);
    const HeaderParty to = toSide(h);
    if (auto files = checkCompanyFiles(from, to, save.kind); !files)
        return refused(files);

    std::vector<ContactBalances::Party> parties;
    if (!from.ownCompany)
        parties.push_back({Side::From, from.companyFile, from.rowText, from.contact, -change});
    if (!to.ownCompany)
        parties.push_back({Side::To, to.companyFile, to.rowText, to.contact, change});
    ContactBalances contacts;
    if (auto problem = contactRefusal(contacts, contacts.apply(parties), Kind, notFound); !problem)
        return refused(problem);

    SharedValues shared(m_store);
    SharedValues::Change sharedChange;
    sharedChange.balance = from.ownCompany ? -change : to.ownCompany ? change : Decimal();
    sharedChange.invoiceNumbers = save.kind == SaveKind::SaveAs ? 1 : 0;
    if (auto problem = sharedValuesRefusal(shared.prepare(sharedChange), shared, Kind); !problem)
        return refused(problem);

    TransactionHeader written = h;
    written.DateandTime.Caption = platform::vb::GeneralDate(platform::now());
    if (save.kind == SaveKind::SaveAs) {
        written.TransactionNumber.Caption = shared.invoiceNumber(); // the number it takes
        // A new invoice: nothing of it is paid yet, whatever was paid of the transaction
        // it was made from. Its amount paid and open lines are as New leaves them.
        written.AmountPaid.Caption.clear();
        written.Balance.Caption.clear();
    } else {
        keepStoredHeaderLines(written, stored, value);
    }
    written.oldvalue.Caption = written.Value.Caption;

    FileChangeSet files;
    datafiles::PostingLock::reachStep(datafiles::PostingLock::BreakStep::PostingRead);
    contacts.addFiles(files);
    files.add(headerPath, headerBytes(written));
    files.add(path, save.lineItems);
    shared.addFiles(files);
    if (auto writable = checkWritable(files, lock.folder()); !writable)
        return refused(writable);

    TransactionResult result;
    result.FileName = path;
    result.header = written;
    result.contactFiles = ContactBalances::companyFiles(parties);
    // The writes keep their own handles on the share; the lock is looked at where it stands.
    confined.reset();
    result.outcome = commitPosting(files, shared, Kind, lock, result.notice);
    return result;
}

} // namespace posting
