#include "datafiles/transactionheaderfile.h"

#include "platform/prompts.h"

namespace datafiles {

namespace {

constexpr int KeyLine = 1; // the transaction number

LineField captionLine(HeaderMenu& menu)
{
    return {[&menu] { return menu.Caption; }, [&menu](const QString& line) { menu.Caption = line; }};
}

LineField checkMarkLine(HeaderMenu& menu)
{
    return {[&menu] { return optionText(menu.Checked); },
            [&menu](const QString& line) {
                if (const auto checked = parseOption(line))
                    menu.Checked = *checked;
            }};
}

} // namespace

LineTable transactionHeaderLines(TransactionHeader& h)
{
    return {captionLine(h.TransactionNumber),
            captionLine(h.DateandTime),
            captionLine(h.Value),
            captionLine(h.FromMyCompany),
            checkMarkLine(h.FromMyCompany),
            captionLine(h.fromcompany),
            checkMarkLine(h.fromcompany),
            captionLine(h.fromcontact),
            checkMarkLine(h.fromcontact),
            captionLine(h.ToMyCompany),
            checkMarkLine(h.ToMyCompany),
            captionLine(h.tocompany),
            checkMarkLine(h.tocompany),
            captionLine(h.tocontact),
            checkMarkLine(h.tocontact),
            captionLine(h.AmountPaid),
            captionLine(h.Balance),
            captionLine(h.fromcompanyiselected),
            captionLine(h.tocompanyiselected)};
}

bool SaveTransactionHeader(const QString& path, const TransactionHeader& header)
{
    TransactionHeader copy = header; // the line table binds to a header it may change
    return saveLines(transactionHeaderLines(copy), LastLineEnd::Omitted, path);
}

LineFileReader::Status LoadTransactionHeader(const QString& path, TransactionHeader& header)
{
    const LineFileReader::Reading reading = readLines(path, KeyLine);
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
                      QStringLiteral("Transaction Header File"));
        break;
    }
    return reading.status;
}

void reportMissingHeaderFile()
{
    platform::prompts().MsgBox(QStringLiteral("File Don't Exist!"), platform::MsgStyle::Critical,
                               QStringLiteral("Transaction Header File"));
}

} // namespace datafiles
