#include "datafiles/transactionheaderfile.h"

#include "platform/prompts.h"

namespace datafiles {

namespace {

constexpr int DateLine = 2;

// The 19 lines, each with the name the transactions window gives its field.
NamedLines namedHeaderLines(TransactionHeader& h)
{
    return {{"the transaction number", textLine(h.TransactionNumber.Caption)},
            {"the transaction date", textLine(h.DateandTime.Caption)},
            {"the transaction's total value", textLine(h.Value.Caption)},
            {"your company's name", textLine(h.FromMyCompany.Caption)},
            {"the From side", optionLine(h.FromMyCompany.Checked)},
            {"the path of the From company's file", textLine(h.fromcompany.Caption)},
            {"the From side", optionLine(h.fromcompany.Checked)},
            {"the From contact", textLine(h.fromcontact.Caption)},
            {"the From side", optionLine(h.fromcontact.Checked)},
            {"your company's name", textLine(h.ToMyCompany.Caption)},
            {"the To side", optionLine(h.ToMyCompany.Checked)},
            {"the path of the To company's file", textLine(h.tocompany.Caption)},
            {"the To side", optionLine(h.tocompany.Checked)},
            {"the To contact", textLine(h.tocontact.Caption)},
            {"the To side", optionLine(h.tocontact.Checked)},
            {"the amount paid", textLine(h.AmountPaid.Caption)},
            {"the transaction's balance", textLine(h.Balance.Caption)},
            {"the From contact's row", textLine(h.fromcompanyiselected.Caption)},
            {"the To contact's row", textLine(h.tocompanyiselected.Caption)}};
}

} // namespace

LineTable transactionHeaderLines(TransactionHeader& h)
{
    LineTable table;
    table.reserve(TransactionHeaderFileLines);
    for (NamedLine& named : namedHeaderLines(h))
        table.push_back(std::move(named.line));
    return table;
}

std::optional<UnstorableText> firstUnstorableText(const TransactionHeader& header)
{
    TransactionHeader copy = header; // the lines bind to a header they may change
    NamedLines lines = namedHeaderLines(copy);
    // The date is not the user's: the posting writes its own, at the moment it posts.
    lines.erase(lines.begin() + (DateLine - 1));
    return firstUnstorableLine(lines);
}

bool SaveTransactionHeader(const QString& path, const TransactionHeader& header)
{
    TransactionHeader copy = header; // the line table binds to a header it may change
    return saveLines(transactionHeaderLines(copy), LastLineEnd::Omitted, path);
}

LineFileReader::Status LoadTransactionHeader(const QString& path, TransactionHeader& header)
{
    const LineFileReader::Reading reading = readLines(path, TransactionHeaderKeyLine);
    switch (reading.status) {
    case LineFileReader::Status::Missing:
        reportMissingHeaderFile();
        break;
    case LineFileReader::Status::Accepted:
        assignLines(transactionHeaderLines(header), reading.lines);
        header.oldvalue.Caption = header.Value.Caption;
        break;
    case LineFileReader::Status::Unreadable:
    case LineFileReader::Status::Rejected:
        reportNotRead(reading,
                      QStringLiteral("The transaction header file \"%1\" could not be read; it "
                                     "was left as it is.").arg(path),
                      HeaderFileTitle);
        break;
    }
    return reading.status;
}

void reportMissingHeaderFile()
{
    platform::prompts().MsgBox(QStringLiteral("File Don't Exist!"), platform::MsgStyle::Critical,
                               HeaderFileTitle);
}

} // namespace datafiles
