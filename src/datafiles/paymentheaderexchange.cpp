#include "datafiles/paymentheaderexchange.h"

#include "datafiles/fileprocedures.h"
#include "datafiles/linefilereader.h"
#include "datafiles/paymentlockfile.h"
#include "datafiles/settingsstore.h"
#include "datafiles/transactionheaderfile.h"
#include "platform/clock.h"
#include "platform/decimal.h"
#include "platform/prompts.h"
#include "platform/vb.h"

namespace datafiles {

namespace {

const QString TrueText = QStringLiteral("True");

bool ticked(const PaymentCheckBox& box)
{
    return box.Value == 1;
}

// Lines 1 to 3: caption and tooltip of a label; the caption is written back.
LineField labelLine(PaymentLabel& label)
{
    return {[&label] { return label.Caption; },
            [&label](const QString& line) { label.Caption = line; label.ToolTipText = line; }};
}

// A party side (lines 4 to 9 or 10 to 15): the own company's check box, its company label
// and its contact label.
void addParty(LineTable& table, PaymentCheckBox& myCompany, PaymentLabel& company,
              PaymentLabel& contact)
{
    table.push_back({[&myCompany] { return myCompany.Caption; },
                     [&myCompany, &company](const QString& line) {
                         myCompany.Caption = line;
                         if (!line.isEmpty())
                             company = {line, line};
                     }});
    table.push_back({[&myCompany] { return optionText(ticked(myCompany)); },
                     [&myCompany](const QString& line) { myCompany.Value = line == TrueText ? 1 : 0; }});
    table.push_back({[&myCompany, &company] { return ticked(myCompany) ? QString() : company.ToolTipText; },
                     [&company](const QString& line) {
                         if (!line.isEmpty())
                             company = {GetFileNameOnly(line), line};
                     }});
    const LineField contactFlag{[&myCompany] { return optionText(!ticked(myCompany)); },
                                [&myCompany](const QString& line) {
                                    if (line == TrueText)
                                        myCompany.Value = 0;
                                }};
    table.push_back(contactFlag);
    table.push_back({[&myCompany, &contact] { return ticked(myCompany) ? QString() : contact.Caption; },
                     [&contact](const QString& line) {
                         if (!line.isEmpty())
                             contact = {line, line};
                     }});
    table.push_back(contactFlag);
}

void reportLocked(const QString& headerPath)
{
    platform::prompts().MsgBox(headerPath + QStringLiteral(" is already open for payment by ")
                                   + PaymentLockFile::holder(headerPath),
                               platform::MsgStyle::OkOnly);
}

void defaultToZero(PaymentLabel& label)
{
    if (label.Caption.isEmpty())
        label.Caption = QStringLiteral("0");
}

// The open balance becomes the proposed payment; the value rule then shows the balance
// after it and the total paid including it.
void proposeOpenBalance(PaymentRecord& payment)
{
    defaultToZero(payment.TransactionValue);
    defaultToZero(payment.AmountPaid);
    defaultToZero(payment.Balance);
    const auto value = platform::Decimal::fromText(payment.TransactionValue.Caption);
    const auto paid = platform::Decimal::fromText(payment.AmountPaid.Caption);
    if (value && paid)
        payment.Balance.Caption = (*value - *paid).text();
    payment.setPaymentValueText(payment.Balance.Caption);
    payment.PaymentValue_Change(); // also when the box already held that text
    payment.PaymentDate.Caption = platform::vb::GeneralDate(platform::now());
}

} // namespace

LineTable paymentHeaderLines(PaymentRecord& p)
{
    LineTable table;
    table.reserve(TransactionHeaderFileLines);
    table.push_back(labelLine(p.TransactionNumber));
    table.push_back(labelLine(p.DateandTime));
    table.push_back(labelLine(p.TransactionValue));
    addParty(table, p.FromMyCompany, p.fromcompany, p.fromcontact);
    addParty(table, p.ToMyCompany, p.tocompany, p.tocontact);
    table.push_back({[&p] { return p.AmountPaid.ToolTipText; },
                     [&p](const QString& line) {
                         if (!line.isEmpty())
                             p.AmountPaid = {line, line};
                     }});
    table.push_back(labelLine(p.Balance));
    for (PaymentLabel* row : {&p.fromcompanyiselected, &p.tocompanyiselected})
        table.push_back(textLine(row->Caption));
    return table;
}

PaymentHeaderLoad LoadHeaderForPayment(const QString& headerPath, PaymentRecord& payment,
                                       SettingsStore& store)
{
    if (PaymentLockFile::exists(headerPath)) {
        // A lock this user's process on this computer left when it ended would block the
        // transaction for good: it is taken over. Any other lock is honoured.
        store.shell().SaznaUserName();
        if (!PaymentLockFile::isLeftByEndedProcess(headerPath, store.lblUserName.value())) {
            reportLocked(headerPath);
            return PaymentHeaderLoad::Locked;
        }
        PaymentLockFile::release(headerPath);
    }
    const LineFileReader::Reading reading = readLines(headerPath, TransactionHeaderKeyLine);
    if (reading.status == LineFileReader::Status::Missing) {
        reportMissingHeaderFile();
        return PaymentHeaderLoad::Missing;
    }
    if (reading.status != LineFileReader::Status::Accepted) {
        reportNotRead(reading,
                      QStringLiteral("The transaction header file \"%1\" could not be read, so "
                                     "no payment can be entered for it.").arg(headerPath),
                      HeaderFileTitle);
        return PaymentHeaderLoad::Unreadable;
    }
    if (!store.OptionSingleMachine.value()) {
        store.shell().SaznaUserName();
        // A lock taken by another machine since the test above refuses the load; one that
        // cannot be made for any other reason lets the payment go on without it.
        if (PaymentLockFile::take(headerPath, store.lblUserName.value())
            == PaymentLockFile::Take::HeldByOther) {
            reportLocked(headerPath);
            return PaymentHeaderLoad::Locked;
        }
    }
    payment.lblChangeStatus.ToolTipText = headerPath;
    assignLines(paymentHeaderLines(payment), reading.lines);
    proposeOpenBalance(payment);
    return PaymentHeaderLoad::Loaded;
}

bool SaveHeaderFromPayment(const QString& path, const PaymentRecord& payment)
{
    PaymentRecord copy = payment; // the line table binds to a payment it may change
    return saveLines(paymentHeaderLines(copy), LastLineEnd::Omitted, path);
}

} // namespace datafiles
