#pragma once
// The transaction header file: a transaction's 19 header values beside its line items (the
// transaction's path followed by "H"), scrambled at rest, written and read by the
// transactions window.

#include "datafiles/linefield.h"
#include "datafiles/linefilereader.h"
#include "datafiles/transactionheader.h"

#include <QString>
#include <optional>

namespace datafiles {

inline constexpr int TransactionHeaderFileLines = 19;
// Line 1, the transaction number, is the key its readers test.
inline constexpr int TransactionHeaderKeyLine = 1;

// The 19 lines of the header file and the header fields they belong to.
LineTable transactionHeaderLines(TransactionHeader& header);

// The first text of the header, in the order of the file, that the header file cannot hold,
// named as the transactions window shows its field; nullopt when it can hold them all. The
// date is left out: the posting writes its own.
std::optional<UnstorableText> firstUnstorableText(const TransactionHeader& header);

// Writes the header file. Line 1 is the transaction's own number (TransactionNumber), so
// saving an older transaction again keeps the number its payments refer to. A failure is
// shown to the user, naming the file, and false is returned.
bool SaveTransactionHeader(const QString& path, const TransactionHeader& header);

// Empties the scratch folder and reads the header file into the header; oldvalue then
// equals the value read. A flag line sets its check mark when it reads as "True"/"False"
// (any letter case) or a number, and leaves it otherwise. A missing file shows "File Don't
// Exist!"; a file that cannot be read, or whose number line is not a number in either
// scramble state, is reported naming the file. In those cases the header is left as it was.
LineFileReader::Status LoadTransactionHeader(const QString& path, TransactionHeader& header);

// The title of the header file's messages (a missing payment file's too).
inline const QString HeaderFileTitle = QStringLiteral("Transaction Header File");

// The message a missing header or payment file gets, under HeaderFileTitle.
void reportMissingHeaderFile();

} // namespace datafiles
