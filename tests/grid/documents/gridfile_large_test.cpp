// A list file past 512 MiB, the size from which the system's converter gives an empty text:
// it opens with all its rows and saves back the same bytes. Long-running: it writes and reads
// about 540 MB and needs about 2 GB of memory.

#include "grid/documents/gridfile.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/gridcore.h"

#include "support/qtprinters.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using grid::GridCore;
using grid::GridFile;

namespace {

constexpr int Rows = 65000;
constexpr int Columns = 32;
constexpr int TextLength = 243; // 65,000 x 32 lines of about 260 bytes: just past 512 MiB

// Cell texts of Central European letters: "r<row>c<column> " and then "ža" over and over.
QByteArray cellBytes(int row, int column)
{
    QByteArray text = "r" + QByteArray::number(row) + "c" + QByteArray::number(column) + " ";
    while (text.size() < TextLength)
        text.append(text.size() % 2 ? 'a' : '\x9E');
    return text;
}

QString cellText(int row, int column)
{
    QString text = QStringLiteral("r%1c%2 ").arg(row).arg(column);
    while (text.size() < TextLength)
        text.append(text.size() % 2 ? QLatin1Char('a') : QChar(u'ž'));
    return text;
}

struct Written {
    qint64 size = 0;
    QByteArray hash;
};

// Writes the scrambled file and gives its size and hash; the bytes do not stay in memory.
Written writeLargeFile(const QString& path)
{
    QByteArray bytes = "#@#\r\np&z7\r\n\\\\32|#||Name|120";
    for (int c = 2; c <= Columns; ++c)
        bytes += "||C" + QByteArray::number(c) + "|" + QByteArray::number(40 + c);
    bytes += "\r\n\\\\" + QByteArray::number(Rows) + "\r\n";
    bytes.reserve(bytes.size() + qsizetype(Rows) * Columns * (TextLength + 18));
    for (int r = 1; r <= Rows; ++r)
        for (int c = 1; c <= Columns; ++c)
            bytes += cellBytes(r, c) + "#" + (c == 2 ? "255#100#" : "0#000#") + QByteArray::number(c) + "#"
                     + QByteArray::number(r) + "\r\n";
    grid::ListFileScrambler::apply(bytes);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return {bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha1)};
}

Written readBack(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return {bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha1)};
}

} // namespace

TEST(GridFileLarge, AFileOfMoreThan512MiBOpensWholeAndSavesBackTheSameBytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.QVI"));
    const Written written = writeLargeFile(path);
    ASSERT_GT(written.size, qint64(512) * 1024 * 1024);

    GridCore g;
    GridFile file(g);
    const auto opened = file.OpenFile(path);
    ASSERT_TRUE(opened.ok) << opened.error.toStdString();
    ASSERT_EQ(g.ListCount(), Rows);
    ASSERT_EQ(g.ColumnCount(), Columns);
    EXPECT_EQ(g.GetColumnHeader(1), QStringLiteral("Name"));
    EXPECT_EQ(g.GetWidthColumn(32), 72);
    for (const auto& [r, c] : {std::pair{1, 1}, {32768, 17}, {Rows, 2}, {Rows, Columns}})
        EXPECT_EQ(g.GetItem(r, c), cellText(r, c)) << r << ", " << c;
    EXPECT_EQ(g.GetColor(Rows, 2), 255u);
    EXPECT_TRUE(g.GetItallic(Rows, 2) == false && g.cell(Rows, 2).Bold);

    // Saved in place, the file keeps its bytes.
    const auto saved = file.SaveFile(path, true);
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    const Written back = readBack(path);
    EXPECT_EQ(back.size, written.size);
    EXPECT_EQ(back.hash, written.hash);
}
