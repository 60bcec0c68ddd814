#include "datafiles/paymentfile.h"

#include "datafiles/transactionheaderfile.h"
#include "platform/prompts.h"
#include "platform/textcodec.h"

#include <optional>

namespace datafiles {

namespace {

constexpr int KeyLine = 7; // the transaction number
constexpr int NoteLine = 35;

void addCheckBox(LineTable& table, PaymentCheckBox& box)
{
    table.push_back(textLine(box.Caption));
    table.push_back(checkLine(box.Value));
    table.push_back(textLine(box.ToolTipText));
}

void addLabel(LineTable& table, PaymentLabel& label)
{
    table.push_back(textLine(label.Caption));
    table.push_back(textLine(label.ToolTipText));
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

} // namespace

LineTable paymentFileLines(PaymentRecord& p)
{
    LineTable table;
    table.reserve(PaymentFileLines);
    addCheckBox(table, p.FromMyCompany);
    addCheckBox(table, p.ToMyCompany);
    for (PaymentLabel* label : {&p.TransactionNumber, &p.DateandTime, &p.TransactionValue,
                                &p.fromcompany, &p.fromcontact, &p.tocompany, &p.tocontact})
        addLabel(table, *label);
    table.push_back({[&p] { return p.PaymentValue().Text; },
                     [&p](const QString& line) { p.setPaymentValueText(line); }});
    table.push_back({[&p] { return p.PaymentValue().ToolTipText; },
                     [&p](const QString& line) { p.setPaymentValueToolTipText(line); }});
    for (PaymentLabel* label : {&p.AmountPaid, &p.Balance, &p.PaymentDate, &p.lblChangeStatus,
                                &p.fromcompanyiselected, &p.tocompanyiselected})
        addLabel(table, *label);
    table.push_back({[&p] { return storedNote(p.Note.Text); },
                     [&p](const QString& line) { p.Note.Text = line; }});
    return table;
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
