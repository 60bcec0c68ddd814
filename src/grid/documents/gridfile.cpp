#include "grid/documents/gridfile.h"

#include "grid/documents/listdocument.h"
#include "grid/documents/listfilereader.h"
#include "grid/documents/listfilesource.h"
#include "grid/documents/listfilewriter.h"
#include "grid/gridcore.h"

#include <algorithm>

namespace grid {

namespace {

// The grid as the writer reads it.
class CoreSource final : public ListFileSource {
public:
    explicit CoreSource(const GridCore& core) : m_core(core) {}
    int columnCount() const override { return m_core.ColumnCount(); }
    QString caption(int column) const override { return m_core.GetColumnHeader(column); }
    int width(int column) const override { return m_core.GetWidthColumn(column); }
    int rowCount() const override { return m_core.ListCount(); }
    ListFileCell cell(int row, int column) const override
    {
        const GridRow& cells = m_core.row(row);
        ListFileCell out;
        out.text = cells.text(column);
        if (out.text.isEmpty())
            return out; // the writer skips it; its formatting is not read
        out.bold = cells.bold(column);
        out.italic = cells.italic(column);
        out.underline = cells.underline(column);
        out.color = int32_t(cells.color(column));
        return out;
    }

private:
    const GridCore& m_core;
};

// A column whose width did not read gets the width of a new grid's column.
constexpr int FallbackWidth = 100;

} // namespace

GridFile::GridFile(GridCore& core) : m_core(core) {}

platform::FileResult GridFile::OpenFile(const QString& FileName)
{
    QByteArray bytes;
    if (auto result = platform::readWholeFile(FileName, bytes); !result.ok)
        return result;
    ListDocument document;
    if (auto result = ListFileReader::read(std::move(bytes), document, FileName); !result.ok)
        return result;

    m_openedFileName = FileName;
    m_isEncrypted = document.form != ListDocument::Form::Plain;
    m_passwordLine = document.passwordLine.value_or(QString::fromLatin1(ListFileReader::DefaultPassword));
    load(document);
    return {true, QString()};
}

void GridFile::load(const ListDocument& document)
{
    // Even a file without a single usable line starts from an empty grid, so that the old
    // document never stands under the new name.
    m_core.ClearEntireList();
    loadColumns(document);
    m_core.resetRows(document.rowCount());
    loadCells(document);
    m_core.ClearUndoRedo(); // the column rebuild recorded steps
    m_core.RenderAllColumns();
    m_core.SetScrollers();
}

void GridFile::loadColumns(const ListDocument& document)
{
    const auto& entries = document.columns;
    if (entries.isEmpty())
        return;
    if (entries[0].width)
        m_core.LetWidthColumn(1, *entries[0].width);
    m_core.setColumnCaption(1, entries[0].caption);
    const int declared = document.declaredColumnCount.value_or(int(entries.size()));
    const int count = std::min(declared, int(entries.size()));
    for (int k = 2; k <= count && m_core.ColumnCount() < GridCore::MaxColumns; ++k)
        m_core.AddColumn(0, entries[k - 1].width.value_or(FallbackWidth), entries[k - 1].caption);
}

void GridFile::loadCells(const ListDocument& document)
{
    // One row of cells reused for every row, its text buffers included: the grid copies what
    // it keeps, a whole row at a time.
    std::vector<GridCell> cells;
    const int rows = document.rowCount();
    for (int r = 1; r <= rows; ++r) {
        cells.resize(size_t(document.lastColumnOf(r)));
        for (int c = 1; c <= int(cells.size()); ++c) {
            const ListDocument::CellRef cell = document.ref(r, c);
            GridCell& value = cells[size_t(c - 1)];
            value.Text.resize(cell.text.size());
            std::copy(cell.text.begin(), cell.text.end(), value.Text.begin());
            value.Bold = cell.bold;
            value.Italic = cell.italic;
            value.Underline = cell.underline;
            value.Color = uint32_t(cell.color);
        }
        m_core.setRowCells(r, cells);
    }
}

QByteArray GridFile::bytes(bool Encrypted, const QString& passwordLine) const
{
    const CoreSource source(m_core);
    return Encrypted ? ListFileWriter::scrambledBytes(source, passwordLine)
                     : ListFileWriter::plainBytes(source);
}

platform::FileResult GridFile::write(const QString& FileName, bool Encrypted, const QString& passwordLine)
{
    return platform::writeFileAtomically(FileName, bytes(Encrypted, passwordLine));
}

platform::FileResult GridFile::SaveFileAs(const QString& FileName, bool Encrypted)
{
    auto result = write(FileName, Encrypted, QString::fromLatin1(ListFileReader::DefaultPassword));
    if (result.ok) {
        m_openedFileName = FileName;
        m_isEncrypted = Encrypted;
    }
    return result;
}

bool GridFile::savesAs(const QString& FileName, bool Encrypted) const
{
    return FileName != m_openedFileName || (Encrypted && !m_isEncrypted);
}

platform::FileResult GridFile::SaveFile(const QString& FileName, bool Encrypted)
{
    if (savesAs(FileName, Encrypted))
        return SaveFileAs(FileName, Encrypted);
    return write(FileName, Encrypted, m_passwordLine);
}

QByteArray GridFile::SaveFileBytes(const QString& FileName, bool Encrypted) const
{
    return bytes(Encrypted, savesAs(FileName, Encrypted)
                                ? QString::fromLatin1(ListFileReader::DefaultPassword)
                                : m_passwordLine);
}

void GridFile::SaveFileWritten(const QString& FileName, bool Encrypted)
{
    if (!savesAs(FileName, Encrypted))
        return;
    m_openedFileName = FileName;
    m_isEncrypted = Encrypted;
}

} // namespace grid
