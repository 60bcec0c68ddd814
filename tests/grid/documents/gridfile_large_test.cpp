// A list file past 512 MiB, the size from which the system's converter gives an empty text:
// it opens with all its rows and saves back the same bytes. Long-running: it writes about
// 540 MB twice and needs about 2 GB of memory for the grid and the save.

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
using grid::ListFileScrambler;

namespace {

constexpr int Rows = 65000;
constexpr int Columns = 32;
constexpr int TextLength = 243; // 65,000 x 32 lines of about 260 bytes: just past 512 MiB

// Cell texts of Central European letters: "r<row>c<column> " and then "ža" over and over.
QString cellText(int row, int column)
{
    QString text = QStringLiteral("r%1c%2 ").arg(row).arg(column);
    while (text.size() < TextLength)
        text.append(text.size() % 2 ? QLatin1Char('a') : QChar(u'ž'));
    return text;
}

// The lines of one row, in Windows-1250; column 2 is bold and red. The letters after the
// start come from one ready line, so that making the file costs little beside opening it.
void appendRow(QByteArray& out, int row)
{
    static const QByteArray letters = [] {
        QByteArray text(TextLength, 'a');
        for (qsizetype i = 0; i < text.size(); i += 2)
            text[i] = '\x9E';
        return text;
    }();
    for (int c = 1; c <= Columns; ++c) {
        const qsizetype start = out.size();
        out += "r" + QByteArray::number(row) + "c" + QByteArray::number(c) + " ";
        out.append(letters.constData() + (out.size() - start), TextLength - (out.size() - start));
        out += "#" + QByteArray(c == 2 ? "255#100#" : "0#000#") + QByteArray::number(c) + "#"
               + QByteArray::number(row) + "\r\n";
    }
}

struct Written {
    qint64 size = 0;
    QByteArray hash;
};

// Writes the scrambled file a row at a time and gives its size and hash.
Written writeLargeFile(const QString& path)
{
    QByteArray head = "#@#\r\np&z7\r\n\\\\32|#||Name|120";
    for (int c = 2; c <= Columns; ++c)
        head += "||C" + QByteArray::number(c) + "|" + QByteArray::number(40 + c);
    head += "\r\n\\\\" + QByteArray::number(Rows) + "\r\n";
    // The scrambling's last chunk depends on the total, so the total comes first.
    qint64 total = head.size();
    QByteArray piece;
    for (int r = 1; r <= Rows; ++r) {
        piece.resize(0);
        appendRow(piece, r);
        total += piece.size();
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Md5);
    qint64 offset = 0;
    for (int r = 0; r <= Rows; ++r) {
        piece.resize(0);
        if (r == 0)
            piece = head;
        else
            appendRow(piece, r);
        for (qsizetype done = 0; done < piece.size();) {
            const auto key = ListFileScrambler::keyFrom(offset + done, total, piece.size() - done);
            ListFileScrambler::applyKey(piece.data() + done, key.data(), qsizetype(key.size()));
            done += qsizetype(key.size());
        }
        hash.addData(piece);
        if (file.write(piece) != piece.size())
            return {};
        offset += piece.size();
    }
    return {offset, hash.result()};
}

Written readBack(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return {file.size(), hash.result()};
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
    EXPECT_EQ(g.cell(Rows, 2), (grid::GridCell{cellText(Rows, 2), true, false, false, 255}));

    // Saved in place, the file keeps its bytes.
    const auto saved = file.SaveFile(path, true);
    ASSERT_TRUE(saved.ok) << saved.error.toStdString();
    const Written back = readBack(path);
    EXPECT_EQ(back.size, written.size);
    EXPECT_EQ(back.hash, written.hash);
}
