#include "posting/paymentposting.h"

#include "datafiles/datafoldertree.h"
#include "datafiles/fileprocedures.h"
#include "datafiles/hostfile.h"
#include "datafiles/linefield.h"
#include "datafiles/paymentfile.h"
#include "datafiles/paymentheaderexchange.h"
#include "datafiles/postinglock.h"
#include "platform/confinedfolder.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "datafiles/transactionheaderfile.h"
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

using datafiles::PaymentRecord;
using platform::Decimal;
using platform::vb::CDbl;
using Side = ContactBalances::Side;

// The least payment saved.
const Decimal LeastPayment = *Decimal::fromText(QStringLiteral("0.01"));
const QString Kind = QStringLiteral("payment");
constexpr int ValueLine = 3;
constexpr int AmountPaidLine = 16;

// An amount as the header keeps it: "" is 0.
std::optional<Decimal> amount(const QString& text)
{
    return Decimal::fromTextOrZero(text);
}

// The transaction's header file as it is on disk now, with its value and amount paid.
struct StoredHeader {
    StoredLines stored;
    Decimal value;
    Decimal paid;
    Decimal open() const { return value - paid; }
};

CheckResult readHeader(const PaymentRecord& payment, StoredHeader& header)
{
    const QString path = payment.lblChangeStatus.ToolTipText;
    header.stored = StoredLines::read(path, datafiles::TransactionHeaderKeyLine);
    switch (header.stored.status) {
    case StoredLines::Status::Missing:
        return refuse(Refusal::HeaderMissing, QStringLiteral("File Don't Exist!"),
                      datafiles::HeaderFileTitle);
    case StoredLines::Status::Unreadable:
        return refuse(Refusal::HeaderUnreadable, header.stored.error, datafiles::HeaderFileTitle);
    case StoredLines::Status::Read:
        break;
    }
    const auto value = amount(header.stored.line(ValueLine));
    const auto paid = amount(header.stored.line(AmountPaidLine));
    if (!value || !paid)
        return refuse(Refusal::HeaderUnreadable,
                      QStringLiteral("The transaction header file \"%1\" holds a value or an amount "
                                     "paid that is not a number, so no payment can be saved for it.").arg(path),
                      datafiles::HeaderFileTitle);
    header.value = *value;
    header.paid = *paid;
    return {};
}

CheckResult checkPartyInformation(const PaymentRecord& p)
{
    struct Step {
        bool missing;
        Refusal refusal;
        const char* text;
    };
    const bool fromContact = p.FromMyCompany.Value == 0;
    const bool toContact = p.ToMyCompany.Value == 0;
    const Step steps[] = {
        {p.fromcompany.Caption.isEmpty(), Refusal::FromInformationMissing, "Missing the Transaction From information"},
        {fromContact && p.fromcompany.ToolTipText.isEmpty(), Refusal::FromInformationMissing,
         "Missing the Transaction From File Information"},
        {fromContact && p.fromcontact.ToolTipText.isEmpty(), Refusal::FromInformationMissing,
         "Missing the Transaction From Contact Information"},
        {p.tocompany.Caption.isEmpty(), Refusal::ToInformationMissing, "Missing the Transaction To information"},
        {toContact && p.tocompany.ToolTipText.isEmpty(), Refusal::ToInformationMissing,
         "Missing the Transaction To File Information"},
        {toContact && p.tocontact.ToolTipText.isEmpty(), Refusal::ToInformationMissing,
         "Missing the Transaction To Contact Information"},
    };
    for (const Step& step : steps)
        if (step.missing)
            return refuse(step.refusal, QString::fromLatin1(step.text));
    return {};
}

CheckResult checkPaymentValue(const PaymentRecord& p, const StoredHeader& header)
{
    const QString& text = p.PaymentValue().Text;
    if (text.isEmpty())
        return refuse(Refusal::NoPaymentValue, QStringLiteral("Missing the Transaction Value Information"));
    // "1,500" is 1.5 to one reader and 1500 to the next: asked, not guessed, as a balance is.
    if (platform::vb::IsAmbiguousNumber(text))
        return refuse(Refusal::BalanceAmbiguous,
                      ambiguousBalance(QStringLiteral("This payment value"), text) + notCompleted(Kind),
                      HeaderMenuTitle);
    const auto value = amountOf(text);
    if (!value || *value < LeastPayment)
        return refuse(Refusal::BadPaymentValue, QStringLiteral("Incorect Transaction Value Information"));
    // Exactly: not a cent more than is open, however large the transaction.
    if (*value > header.open())
        return refuse(Refusal::Overpayment, QStringLiteral("Incorect Payment Value!"));
    return {};
}

// A character outside the files' code page would be written as "?": the payment file would
// then hold another text than the window showed and told as saved.
CheckResult checkStorable(const PaymentRecord& p)
{
    const auto unstorable = datafiles::firstUnstorableText(p);
    if (!unstorable)
        return {};
    return refuse(Refusal::UnstorableText,
                  platform::unstorableRefusal(QStringLiteral("The payment"), unstorable->field, unstorable->text,
                                              unstorable->position));
}

CheckResult checkPartyFile(Side side, const QString& path)
{
    const bool from = side == Side::From;
    if (!datafiles::FileExists(path))
        return refuse(from ? Refusal::FromFileMissing : Refusal::ToFileMissing,
                      QStringLiteral("Missing  %1 Company File(%2)")
                          .arg(from ? QStringLiteral("From") : QStringLiteral("To"), path));
    if (const auto holder = CompanyFile::lockHolder(path))
        return lockedRefusal(side, *holder, Kind);
    return {};
}

// The sentence for a contact whose row holds another contact now; the payment names the
// company by its file name.
QString notFound(const PaymentRecord& p, const ContactBalances::Party& party)
{
    if (party.side == Side::From)
        return p.fromcontact.Caption + QStringLiteral("  not found in the file ") + p.fromcompany.Caption
            + QStringLiteral(" 's file. To save transaction, again select contact and click on 'Transfer from'.");
    return p.tocontact.Caption + QStringLiteral(" is not found on the location you selected in the ")
        + p.tocompany.Caption
        + QStringLiteral(" 's file. To save transaction, again select contact and click on 'Transfer to'.");
}

PaymentResult refused(const CheckResult& check)
{
    PaymentResult result;
    result.outcome = Outcome::Refused;
    result.refusal = check.refusal;
    result.notice = check.notice;
    return result;
}

// The header file rewritten from the header as it is on disk, by the payment's own header
// writer, with the new amount paid and open balance.
QByteArray headerBytes(const StoredHeader& header, const Decimal& paid)
{
    PaymentRecord record;
    datafiles::assignLines(datafiles::paymentHeaderLines(record), header.stored.lines);
    record.AmountPaid.ToolTipText = paid.text();
    record.Balance.Caption = (header.value - paid).text();
    return datafiles::writerFor(datafiles::paymentHeaderLines(record), datafiles::LastLineEnd::Omitted)
        .scrambledBytes();
}

// The payment as it is stored: its amounts follow the header on disk where the window's
// copy of the header was out of date.
PaymentRecord storedPayment(PaymentRecord payment, const StoredHeader& header, const Decimal& paid)
{
    const auto differs = [](const QString& text, const Decimal& number) {
        const auto shown = Decimal::fromText(text);
        return !shown || *shown != number;
    };
    if (differs(payment.TransactionValue.Caption, header.value))
        payment.TransactionValue.Caption = header.stored.line(ValueLine);
    if (differs(payment.AmountPaid.Caption, header.paid))
        payment.AmountPaid.Caption = header.paid.text();
    payment.AmountPaid.ToolTipText = paid.text();
    payment.Balance.Caption = (header.value - paid).text();
    return payment;
}

QByteArray paymentFileBytes(PaymentRecord payment)
{
    return datafiles::writerFor(datafiles::paymentFileLines(payment), datafiles::LastLineEnd::Omitted)
        .scrambledBytes();
}

} // namespace

CheckResult PaymentPosting::checkEntry(const PaymentRecord& p) const
{
    if (auto network = checkNetwork(m_store, datafiles::PaymentsFolder, QStringLiteral("Payments")); !network)
        return network;
    if (p.TransactionNumber.Caption.isEmpty())
        return refuse(Refusal::NoTransaction, QStringLiteral("Please select the Transaction for payment"));
    StoredHeader header;
    if (auto read = readHeader(p, header); !read)
        return read;
    // Paid in full by the amounts, exactly, not by their texts ("10" and "10.00" are one
    // amount).
    if (!(header.value > header.paid))
        return refuse(Refusal::PaidInFull, QStringLiteral("This Transaction was paid in full amount!"),
                      platform::DefaultTitle + QStringLiteral(" can't complete this payment"));
    if (auto parties = checkPartyInformation(p); !parties)
        return parties;
    if (auto value = checkPaymentValue(p, header); !value)
        return value;
    return checkStorable(p);
}

void PaymentPosting::reloadSharedValues()
{
    if (m_store.networkMode() != datafiles::NetworkMode::SingleMachine)
        datafiles::ReadHostFile(m_store);
    else
        datafiles::RefreshMoneyFromSettingsFile(m_store); // another copy may have posted
}

CheckResult PaymentPosting::checkParties(const PaymentRecord& p) const
{
    if (p.FromMyCompany.Value == 0)
        if (auto from = checkPartyFile(Side::From, p.fromcompany.ToolTipText); !from)
            return from;
    if (p.ToMyCompany.Value == 0)
        if (auto to = checkPartyFile(Side::To, p.tocompany.ToolTipText); !to)
            return to;
    return {};
}

QString PaymentPosting::nextFileName() const
{
    return platform::vb::CStr(CDbl(m_store.PaymentNumber.value()).value_or(0) + 1) + QStringLiteral(".QVP");
}

PaymentResult PaymentPosting::post(const PaymentSave& save)
{
    // A share out of reach is told as such, before its lock is sought there.
    if (auto network = checkNetwork(m_store, datafiles::PaymentsFolder, QStringLiteral("Payments")); !network)
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
    const PaymentRecord& p = save.payment;
    if (auto entry = checkEntry(p); !entry)
        return refused(entry);
    if (auto parties = checkParties(p); !parties)
        return refused(parties);
    if (save.FileName.isEmpty())
        return refused(refuse(Refusal::NoPaymentFile,
                              QStringLiteral("No payment file was chosen, so the payment was not saved.")));

    if (!save.replaceExisting && datafiles::FileExists(save.FileName))
        return refused(refuse(Refusal::PaymentFileExists,
                              QStringLiteral("The payment file %1 was saved meanwhile by another posting. Nothing "
                                             "was changed; please save this payment again under another name.")
                                  .arg(save.FileName)));

    StoredHeader header;
    if (auto read = readHeader(p, header); !read)
        return refused(read);
    const Decimal value = *amountOf(p.PaymentValue().Text);
    const bool fromOwn = p.FromMyCompany.Value != 0;
    const bool toOwn = p.ToMyCompany.Value != 0;

    std::vector<ContactBalances::Party> parties;
    if (!fromOwn)
        parties.push_back({Side::From, p.fromcompany.ToolTipText, p.fromcompanyiselected.Caption,
                           p.fromcontact.Caption, value});
    if (!toOwn)
        parties.push_back({Side::To, p.tocompany.ToolTipText, p.tocompanyiselected.Caption,
                           p.tocontact.Caption, -value});
    ContactBalances contacts;
    const auto paymentNotFound = [&p](const ContactBalances::Party& party) { return notFound(p, party); };
    if (auto problem = contactRefusal(contacts, contacts.apply(parties), Kind, paymentNotFound); !problem)
        return refused(problem);

    SharedValues shared(m_store);
    SharedValues::Change sharedChange;
    sharedChange.balance = (fromOwn ? value : Decimal()) - (toOwn ? value : Decimal());
    sharedChange.paymentNumbers = 1;
    if (auto problem = sharedValuesRefusal(shared.prepare(sharedChange), shared, Kind); !problem)
        return refused(problem);

    const Decimal paid = header.paid + value;
    if (auto exact = checkWrittenExactly(paid, QStringLiteral("The amount paid"), Kind); !exact)
        return refused(exact);
    if (auto exact = checkWrittenExactly(header.value - paid, QStringLiteral("The balance of the transaction"), Kind);
        !exact)
        return refused(exact);
    const PaymentRecord stored = storedPayment(p, header, paid);
    FileChangeSet files;
    datafiles::PostingLock::reachStep(datafiles::PostingLock::BreakStep::PostingRead);
    contacts.addFiles(files);
    files.add(p.lblChangeStatus.ToolTipText, headerBytes(header, paid));
    shared.addFiles(files);
    files.add(save.FileName, paymentFileBytes(stored));
    if (auto writable = checkWritable(files, lock.folder()); !writable)
        return refused(writable);

    PaymentResult result;
    result.FileName = save.FileName;
    result.payment = stored;
    result.contactFiles = ContactBalances::companyFiles(parties);
    // The writes keep their own handles on the share; the lock is looked at where it stands.
    confined.reset();
    result.outcome = commitPosting(files, shared, Kind, lock, result.notice);
    return result;
}

} // namespace posting
