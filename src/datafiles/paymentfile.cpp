#include "datafiles/paymentfile.h"

#include "datafiles/transactionheaderfile.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"

#include <optional>
#include <utility>
#include <vector>

namespace datafiles {

namespace {

constexpr int KeyLine = 7; // the transaction number
constexpr int NoteLine = 35;

void addCheckBox(NamedLines& lines, PaymentCheckBox& box, const char* field)
{
    lines.push_back({field, textLine(box.Caption)});
    lines.push_back({field, checkLine(box.Value)});
    lines.push_back({field, textLine(box.ToolTipText)});
}

void addLabel(NamedLines& lines, PaymentLabel& label, const char* field)
{
    lines.push_back({field, textLine(label.Caption)});
    lines.push_back({field, textLine(label.ToolTipText)});
}

// The note as stored: its line breaks as CR LF, as the stored payment files have them.
QString storedNote(const QString& note)
{
    QString stored = note;
    stored.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    stored.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return stored;
}

// Everything after the line end of line 34, with CR LF read back as "\n"; nullopt when the
// file ends before line 35 begins.
std::optional<QString> noteOf(const QByteArray& plain)
{
    qsizetype start = 0;
    for (int line = 1; line < NoteLine; ++line) {
        const qsizetype end = plain.indexOf('\n', start);
        if (end < 0)
            return std::nullopt;
        start = end + 1;
    }
    QString note = platform::fromAnsi(plain.mid(start));
    note.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return note;
}

// The 35 lines, each with its field's name. The note's line is written with its line breaks
// as CR LF.
NamedLines namedPaymentLines(PaymentRecord& p)
{
    NamedLines lines;
    lines.reserve(PaymentFileLines);
    addCheckBox(lines, p.FromMyCompany, "the From company");
    addCheckBox(lines, p.ToMyCompany, "the To company");
    const std::pair<PaymentLabel*, const char*> header[] = {
        {&p.TransactionNumber, "the transaction number"}, {&p.DateandTime, "the transaction date"},
        {&p.TransactionValue, "the transaction's total value"}, {&p.fromcompany, "the From company"},
        {&p.fromcontact, "the From contact"}, {&p.tocompany, "the To company"}, {&p.tocontact, "the To contact"}};
    for (const auto& [label, field] : header)
        addLabel(lines, *label, field);
    lines.push_back({"this payment's value", {[&p] { return p.PaymentValue().Text; },
                                              [&p](const QString& line) { p.setPaymentValueText(line); }}});
    lines.push_back({"this payment's value", {[&p] { return p.PaymentValue().ToolTipText; },
                                              [&p](const QString& line) { p.setPaymentValueToolTipText(line); }}});
    const std::pair<PaymentLabel*, const char*> payment[] = {
        {&p.AmountPaid, "the amount paid by now"}, {&p.Balance, "the transaction's balance"},
        {&p.PaymentDate, "this payment's date"}, {&p.lblChangeStatus, "the path of the transaction's header file"},
        {&p.fromcompanyiselected, "the From contact's row"}, {&p.tocompanyiselected, "the To contact's row"}};
    for (const auto& [label, field] : payment)
        addLabel(lines, *label, field);
    lines.push_back({"the note", {[&p] { return storedNote(p.Note.Text); },
                                  [&p](const QString& line) { p.Note.Text = line; }}});
    return lines;
}

} // namespace

LineTable paymentFileLines(PaymentRecord& p)
{
    LineTable table;
    table.reserve(PaymentFileLines);
    for (NamedLine& named : namedPaymentLines(p))
        table.push_back(std::move(named.line));
    return table;
}

std::optional<UnstorableText> firstUnstorableText(const PaymentRecord& payment)
{
    PaymentRecord copy = payment; // the lines bind to a payment they may change
    return firstUnstorableLine(namedPaymentLines(copy));
}

bool SavePaymentFile(const QString& path, const PaymentRecord& payment)
{
    PaymentRecord copy = payment; // the line table binds to a payment it may change
    return saveLines(paymentFileLines(copy), LastLineEnd::Omitted, path);
}

LineFileReader::Status LoadPaymentFile(const QString& path, PaymentRecord& payment)
{
    const LineFileReader::Reading reading = readLines(path, KeyLine);
    switch (reading.status) {
    case LineFileReader::Status::Missing:
        reportMissingHeaderFile();
        break;
    case LineFileReader::Status::Accepted: {
        LineTable table = paymentFileLines(payment);
        table.pop_back(); // the note may span lines: it is taken from the bytes below
        assignLines(table, reading.lines);
        if (const auto note = noteOf(reading.plain))
            payment.Note.Text = *note;
        break;
    }
    case LineFileReader::Status::Unreadable:
    case LineFileReader::Status::Rejected:
        reportNotRead(reading, QStringLiteral("The payment file \"%1\" could not be read; it was "
                                              "left as it is.").arg(path));
        break;
    }
    return reading.status;
}

} // namespace datafiles
