#pragma once
// A contact company file opened for a change of balances: the document as it stands on
// disk, its contacts' names (column 1) and balances (column 2), and its bytes as the grid
// saves a document scrambled, with nothing changed but the balance cells set here.

#include "grid/documents/listdocument.h"
#include "platform/safefile.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace posting {

class CompanyFile {
public:
    static constexpr int NameColumn = 1;
    static constexpr int BalanceColumn = 2;

    // Reads the file; a failure names it and leaves this object empty.
    [[nodiscard]] platform::FileResult open(const QString& path);
    const QString& path() const { return m_path; }

    // The row that rowText names (a row number as the transaction header keeps it), when
    // that row holds exactly this contact's name.
    std::optional<int> contactRow(const QString& rowText, const QString& contact) const;

    // Whether the document has the balance column at all: a file of one column keeps no
    // balances, and a cell beyond its columns would not be saved.
    bool hasBalanceColumn() const { return m_document.columnCount() >= BalanceColumn; }
    QString balanceText(int row) const;
    // Sets the balance cell's text; the cell keeps its formatting.
    void setBalanceText(int row, const QString& text);
    bool changed() const { return m_changed; }

    // The file's new bytes: scrambled, with its own password line (the default one when it
    // was stored without), as the grid's SaveFile writes an opened document.
    QByteArray bytes() const;
    // The file's bytes as they were read.
    const QByteArray& storedBytes() const { return m_stored; }

    // The name held by the document's edit lock (its path followed by ".tmp"); nullopt when
    // there is no lock. A lock that cannot be read names nobody ("").
    static std::optional<QString> lockHolder(const QString& path);

private:
    QString m_path;
    QByteArray m_stored;
    grid::ListDocument m_document;
    bool m_changed = false;
};

} // namespace posting
