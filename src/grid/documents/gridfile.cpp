#include "grid/documents/gridfile.h"

#include "grid/documents/listdocument.h"
#include "grid/documents/listfilereader.h"
#include "grid/documents/listfilesource.h"
#include "grid/documents/listfilewriter.h"
#include "grid/gridcore.h"
#include "grid/gridrow.h"
#include "platform/textcodec.h"

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
    const GridRow& row(int r) const override { return m_core.row(r); }

private:
    const GridCore& m_core;
};

// A column whose width did not read gets the width of a new grid's column.
constexpr int FallbackWidth = 100;

} // namespace

GridFile::GridFile(GridCore& core) : m_core(core) {}

platform::FileResult GridFile::OpenFile(const QString& FileName)
{
    ListDocument document;
    if (auto result = ListFileReader::readFile(FileName, document); !result.ok)
        return result;

    m_openedFileName = FileName;
    m_isEncrypted = document.form != ListDocument::Form::Plain;
    m_passwordLine = document.passwordLine.value_or(QString::fromLatin1(ListFileReader::DefaultPassword));
    m_openedCut = document.cut;
    load(document);
    return {true, QString()};
}

void GridFile::load(ListDocument& document)
{
    // Even a file without a single usable line starts from an empty grid, so that the old
    // document never stands under the new name, not even in column 1's caption and width.
    m_core.ClearEntireList();
    m_core.LetWidthColumn(1, FallbackWidth);
    m_core.setColumnCaption(1, QString());
    loadColumns(document);
    m_core.resetRows(document.takeRows());
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

QByteArray GridFile::bytes(bool Encrypted, const QString& passwordLine) const
{
    const CoreSource source(m_core);
    return Encrypted ? ListFileWriter::scrambledBytes(source, passwordLine)
                     : ListFileWriter::plainBytes(source);
}

platform::FileResult GridFile::checkStorable(const QString& FileName) const
{
    const auto refusal = [&FileName](const QString& where, QStringView text, qsizetype at) {
        return platform::FileResult{
            false, platform::unstorableRefusal(QStringLiteral("The file \"%1\"").arg(FileName), where, text, at)};
    };
    const int columns = m_core.ColumnCount();
    for (int c = 1; c <= columns; ++c) {
        const QString caption = m_core.GetColumnHeader(c);
        if (const qsizetype at = platform::firstUnheld(caption); at >= 0)
            return refusal(QStringLiteral("the caption of column %1").arg(c), caption, at);
    }
    const int rows = m_core.ListCount();
    for (int r = 1; r <= rows; ++r) {
        const GridRow& cells = m_core.row(r);
        const int last = std::min(columns, cells.extent() - 1);
        for (int c = 1; c <= last; ++c) {
            const QStringView text = cells.textView(c);
            if (const qsizetype at = platform::firstUnheld(text); at >= 0) {
                const QString caption = m_core.GetColumnHeader(c);
                const QString column = caption.isEmpty() ? QString::number(c)
                                                         : QStringLiteral("%1 (\"%2\")").arg(QString::number(c), caption);
                return refusal(QStringLiteral("the cell in row %1, column %2").arg(QString::number(r), column), text, at);
            }
        }
    }
    return {true, QString()};
}

platform::FileResult GridFile::write(const QString& FileName, bool Encrypted, const QString& passwordLine)
{
    if (!platform::AnsiTables::get())
        return {false, QStringLiteral("The file \"%1\" could not be written: this system cannot convert "
                                      "Windows-1250 text.").arg(FileName)};
    if (auto storable = checkStorable(FileName); !storable.ok)
        return storable;
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
