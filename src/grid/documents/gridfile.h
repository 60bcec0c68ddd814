#pragma once
// The grid's document as a list file: OpenFile, SaveFileAs and SaveFile on a GridCore, with
// the three fields by which the grid remembers what it last read or wrote. Every write
// replaces the file only once the new bytes are complete; every failure is returned to the
// caller with a message naming the file, and a failed open or save leaves the grid and the
// three fields as they were.

#include "grid/documents/listfilecut.h"
#include "platform/safefile.h"

#include <QString>
#include <optional>

namespace grid {

class GridCore;
class ListDocument;

class GridFile {
public:
    explicit GridFile(GridCore& core);

    // Reads a list file in any of its forms into the grid: columns, rows and cells replace
    // the grid's, both history stacks are emptied, and the grid is redrawn. A file cut short
    // is read as far as it goes; openedCut() then tells what it still showed of itself.
    [[nodiscard]] platform::FileResult OpenFile(const QString& FileName);
    // How the file of the last successful OpenFile was cut short; empty for a whole file.
    const std::optional<ListFileCut>& openedCut() const { return m_openedCut; }
    // Writes the grid to FileName, scrambled with the default password text when Encrypted,
    // plain otherwise, and makes FileName the grid's file.
    [[nodiscard]] platform::FileResult SaveFileAs(const QString& FileName, bool Encrypted);
    // Writes in place when FileName is the grid's file (exact comparison) and the form allows
    // it, keeping the file's password line; otherwise goes through SaveFileAs.
    [[nodiscard]] platform::FileResult SaveFile(const QString& FileName, bool Encrypted);

    // Whether every caption and cell text that a save writes can be stored in the file's
    // Windows-1250 text. When one cannot, the message names FileName, the cell (or caption)
    // and the character, and the save writes nothing: the file would get "?" in its place.
    [[nodiscard]] platform::FileResult checkStorable(const QString& FileName) const;

    // The bytes SaveFile(FileName, Encrypted) would write, without writing them, for a caller
    // that writes them together with other files as one change (the transaction posting).
    [[nodiscard]] QByteArray SaveFileBytes(const QString& FileName, bool Encrypted) const;
    // Once such a caller has written those bytes to FileName, the grid remembers its file as
    // a successful SaveFile(FileName, Encrypted) would have left it.
    void SaveFileWritten(const QString& FileName, bool Encrypted);

    // The path of the last successful OpenFile or SaveFileAs; empty at first.
    const QString& OpenedFileName() const { return m_openedFileName; }
    // True when the file last read had the password header (every scrambled file has), or
    // the last SaveFileAs wrote the scrambled form. A public variable of the grid.
    bool iIsEncrypted() const { return m_isEncrypted; }
    void setiIsEncrypted(bool value) { m_isEncrypted = value; }
    // Line 2 of the last file read in the password form ("p&z7" after reading one without).
    const QString& ListPasswordLine() const { return m_passwordLine; }

private:
    bool savesAs(const QString& FileName, bool Encrypted) const;
    QByteArray bytes(bool Encrypted, const QString& passwordLine) const;
    platform::FileResult write(const QString& FileName, bool Encrypted, const QString& passwordLine);
    void load(ListDocument& document);
    void loadColumns(const ListDocument& document);

    GridCore& m_core;
    QString m_openedFileName;
    bool m_isEncrypted = false;
    QString m_passwordLine;
    std::optional<ListFileCut> m_openedCut;
};

} // namespace grid
