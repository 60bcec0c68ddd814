#pragma once
// The posting of a transaction on Save and Save As: the change of its value since it was
// last posted (its whole value on Save As) reaches the own company's balance and the
// parties' balance cells, and the header file, the line items, the settings file and in
// network mode the host file are written with it, all or nothing.
//
// The transactions window calls, in this order:
//   1. checkEntry on Save and Save As: the network checks and the header's value and
//      parties. Then reloadSharedValues (host and user mode: the host's values into the
//      store), so that Save As proposes nextFileName(). A Save of a transaction without a
//      file goes to Save As, whose dialog, designed-directory warning and replace check
//      (fileTaken: Save As never writes over a transaction) are the window's.
//   2. post, with the header as the window holds it, the path, and the line items as the
//      grid would save them to fileName(path) (GridFile::SaveFileBytes). post checks
//      everything again and more (the company files, their locks, the contacts' rows and
//      balances, that every file may be written) before its first change.
//   3. On a posted result the window takes result.header (oldvalue included) and
//      result.FileName, calls GridFile::SaveFileWritten, shows "Transaction Saved" once for
//      each of result.contactFiles (then the contact window shows the last one, read again
//      from disk), records the recent file and marks itself unchanged. On any other result
//      it shows result.notice and keeps its state.

#include "datafiles/transactionheader.h"
#include "posting/postingresult.h"

#include <QByteArray>
#include <QString>

namespace datafiles {
class SettingsStore;
}

namespace posting {

enum class SaveKind { Save, SaveAs };

struct TransactionSave {
    SaveKind kind = SaveKind::Save;
    // The header as the window holds it; oldvalue is the value posted so far ("" is 0).
    datafiles::TransactionHeader header;
    // The transaction's path as the window holds it (Save) or as chosen (Save As).
    QString FileName;
    // The line items' list file as the grid writes it for fileName(FileName), scrambled.
    QByteArray lineItems;
};

class TransactionPosting {
public:
    explicit TransactionPosting(datafiles::SettingsStore& store) : m_store(store) {}

    // Network mode, then the value and the parties, with their messages; nothing is
    // read or changed.
    CheckResult checkEntry(const datafiles::TransactionHeader& header, SaveKind kind) const;

    // In host and user mode, the host's shared values into the store (its own messages).
    void reloadSharedValues();

    // The file name Save As proposes: the next invoice number and ".QVT" ("42.QVT").
    QString nextFileName() const;
    // The path with ".QVT" appended when it does not end so (letter case counts).
    static QString fileName(const QString& FileName);
    // Whether a transaction stands at that path already (its list file or its header).
    static bool fileTaken(const QString& FileName);

    // Posts and writes the transaction. Save posts Value - oldvalue; Save As posts the whole
    // Value, takes the next invoice number (line 1 of its header) and refuses to write over
    // an existing transaction. Save keeps line 1 and the amount paid as the header file on
    // disk holds them. The settings store changes only when the posting is made.
    TransactionResult post(const TransactionSave& save);

private:
    datafiles::SettingsStore& m_store;
};

} // namespace posting
