#pragma once
// A contact company file opened for a change of balances: the document as it stands on
// disk, its contacts' names (column 1) and balances (column 2), and its bytes as the grid
// saves a document scrambled, with nothing changed but the balance cells set here.
//
// A file the grid itself wrote scrambled reads back to exactly its own bytes, so for such a
// file the new bytes are the stored ones with the balance cells' text replaced: the file is
// checked line by line to be in that form and is never parsed into a document nor written
// out again cell by cell. Any other file (plain, password form, lines out of order, fields
// written otherwise) takes the document's way, as does a change the stored lines cannot take
// in place (a balance cell that is empty before or after).

#include "grid/documents/listdocument.h"
#include "platform/safefile.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <map>
#include <optional>
#include <vector>

namespace posting {

class CompanyFile {
public:
    static constexpr int NameColumn = 1;
    static constexpr int BalanceColumn = 2;

    // Reads the file; a failure names it and leaves this object empty.
    [[nodiscard]] platform::FileResult open(const QString& path);
    // The same with the file's bytes as they were read from it.
    [[nodiscard]] platform::FileResult open(const QString& path, QByteArray bytes);
    const QString& path() const { return m_path; }

    // The document's rows, and a row's contact name (column 1).
    int rowCount() const { return m_parsed ? m_document.rowCount() : m_rows; }
    QString contactName(int row) const { return cellText(row, NameColumn); }

    // The row that rowText names (a row number as the transaction header keeps it), when
    // that row holds exactly this contact's name.
    std::optional<int> contactRow(const QString& rowText, const QString& contact) const;

    // Whether the document has the balance column at all: a file of one column keeps no
    // balances, and a cell beyond its columns would not be saved.
    bool hasBalanceColumn() const { return columnCount() >= BalanceColumn; }
    QString balanceText(int row) const;
    // Sets the balance cell's text; the cell keeps its formatting.
    void setBalanceText(int row, const QString& text);
    bool changed() const { return m_changed; }

    // The file's new bytes: scrambled, with its own password line (the default one when it
    // was stored without), as the grid's SaveFile writes an opened document.
    QByteArray bytes() const;
    // The same bytes, made in the place of what was read: the file is left empty, as if
    // never opened. For a posting, which writes a file once and looks at it no more.
    QByteArray takeBytes();
    // The file's bytes as they were read.
    QByteArray storedBytes() const;
    // Whether the new bytes are the stored ones with balance text replaced, rather than the
    // document written again.
    bool changesInPlace() const { return !m_parsed; }

    // The name held by the document's edit lock (its path followed by ".tmp"); nullopt when
    // there is no lock. A lock that cannot be read names nobody ("").
    static std::optional<QString> lockHolder(const QString& path);

private:
    // Where a cell's text stands in m_plain; start < 0 for a cell the file does not hold.
    struct TextSpan {
        qsizetype start = -1;
        qsizetype length = 0;
    };
    struct RowCells {
        TextSpan name, balance;
    };

    // Whether the stored bytes are exactly what the grid writes for the document they read
    // as; if so, fills m_plain, m_rows, m_columns and m_cells.
    // The bytes are unscrambled in place, and scrambled again when they are not of that form.
    bool takeInPlace(QByteArray& bytes);
    bool readInPlace(QByteArray& plain, const std::array<bool, 256>& same);
    // Reads the stored bytes into m_document, with the balances set so far.
    [[nodiscard]] platform::FileResult parse();
    QString cellText(int row, int column) const;
    int columnCount() const { return m_parsed ? m_document.columnCount() : m_columns; }

    QString m_path;
    // What was read, scrambled; empty while the plain lines are held instead.
    QByteArray m_stored;
    bool m_changed = false;
    // The document's way: the file as a document.
    bool m_parsed = false;
    grid::ListDocument m_document;
    // The stored lines' way: the unscrambled bytes, their rows' name and balance cells, and
    // the balances set, by row.
    QByteArray m_plain;
    int m_rows = 0;
    int m_columns = 0;
    std::vector<RowCells> m_cells;
    std::map<int, QString> m_newBalances;
};

} // namespace posting
