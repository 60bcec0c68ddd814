#include "posting/companyfile.h"

#include "datafiles/fileprocedures.h"
#include "datafiles/linefilereader.h"
#include "grid/documents/listfilereader.h"
#include "grid/documents/listfilewriter.h"
#include "platform/vb.h"

namespace posting {

platform::FileResult CompanyFile::open(const QString& path)
{
    QByteArray bytes;
    if (auto read = platform::readWholeFile(path, bytes); !read)
        return read;
    grid::ListDocument document;
    if (auto read = grid::ListFileReader::read(bytes, document, path); !read)
        return read;
    // The reader passes over lines it does not know, so an empty file or one of other bytes
    // reads as a document without its header line: no contact could be found in it, and
    // it is the file that is wrong, not the contact.
    if (!document.declaredColumnCount && document.columns.isEmpty())
        return {false, QStringLiteral("The file \"%1\" could not be read: it is empty, not a contact company "
                                      "file, or damaged.").arg(path)};
    m_stored = std::move(bytes);
    m_path = path;
    m_document = std::move(document);
    m_changed = false;
    return {true, QString()};
}

std::optional<int> CompanyFile::contactRow(const QString& rowText, const QString& contact) const
{
    const auto row = platform::vb::CLng(rowText);
    if (!row || *row < 1 || *row > m_document.rowCount())
        return std::nullopt;
    if (m_document.at(int(*row), NameColumn).text != contact)
        return std::nullopt;
    return int(*row);
}

QString CompanyFile::balanceText(int row) const
{
    return m_document.at(row, BalanceColumn).text;
}

void CompanyFile::setBalanceText(int row, const QString& text)
{
    grid::ListFileCell cell = m_document.at(row, BalanceColumn);
    if (cell.text == text)
        return;
    cell.text = text;
    m_document.setCell(row, BalanceColumn, cell);
    m_changed = true;
}

QByteArray CompanyFile::bytes() const
{
    const QString password = m_document.passwordLine.value_or(
        QString::fromLatin1(grid::ListFileReader::DefaultPassword));
    return grid::ListFileWriter::scrambledBytes(m_document, password);
}

std::optional<QString> CompanyFile::lockHolder(const QString& path)
{
    const QString lock = path + QStringLiteral(".tmp");
    if (!datafiles::FileExists(lock))
        return std::nullopt;
    QByteArray bytes;
    if (!platform::readWholeFile(lock, bytes))
        return QString();
    return datafiles::LineFileReader::linesOf(bytes).value(0);
}

} // namespace posting
