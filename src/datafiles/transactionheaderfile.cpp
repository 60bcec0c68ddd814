#include "datafiles/transactionheaderfile.h"

#include "platform/prompts.h"

namespace datafiles {

LineTable transactionHeaderLines(TransactionHeader& h)
{
    return {textLine(h.TransactionNumber.Caption),
            textLine(h.DateandTime.Caption),
            textLine(h.Value.Caption),
            textLine(h.FromMyCompany.Caption),
            optionLine(h.FromMyCompany.Checked),
            textLine(h.fromcompany.Caption),
            optionLine(h.fromcompany.Checked),
            textLine(h.fromcontact.Caption),
            optionLine(h.fromcontact.Checked),
            textLine(h.ToMyCompany.Caption),
            optionLine(h.ToMyCompany.Checked),
            textLine(h.tocompany.Caption),
            optionLine(h.tocompany.Checked),
            textLine(h.tocontact.Caption),
            optionLine(h.tocontact.Checked),
            textLine(h.AmountPaid.Caption),
            textLine(h.Balance.Caption),
            textLine(h.fromcompanyiselected.Caption),
            textLine(h.tocompanyiselected.Caption)};
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
