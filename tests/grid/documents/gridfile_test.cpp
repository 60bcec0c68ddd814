#include "grid/documents/gridfile.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/gridcore.h"

#include "support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

using grid::GridCell;
using grid::GridCore;
using grid::GridFile;
using grid::ListFileScrambler;

namespace {

class GridFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }

    static QByteArray bytesOf(const QString& file)
    {
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        return f.readAll();
    }
    static void put(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // The text of a scrambled file, unscrambled.
    static QByteArray unscrambled(const QString& file)
    {
        return ListFileScrambler::applied(bytesOf(file));
    }
    static QStringList linesOf(const QByteArray& text)
    {
        return QString::fromLatin1(text).split(QStringLiteral("\r\n"));
    }

    QTemporaryDir dir;
};

// 32 columns with captions and widths; every flag combination, colours negative and
// system, texts holding "#".
void fillRich(GridCore& g)
{
    g.ClearEntireList();
    g.setColumnCaption(1, QStringLiteral("Item Name"));
    g.LetWidthColumn(1, 150);
    for (int c = 2; c <= 32; ++c)
        g.AddColumn(0, 20 + c, QStringLiteral("C%1|#").arg(c));
    g.resetRows(40);
    const uint32_t colours[] = {0, 0xFF, 0xFFFFFF, 0xFFFFFFFF, 0x8000000F, 0x80000012, 0x80000000, 0x7FFFFFFF};
    for (int flags = 0; flags < 8; ++flags)
        g.setCell(flags * 5 + 1, flags * 4 + 1,
                  GridCell{QStringLiteral("a#%1#2#3").arg(flags), bool(flags & 1), bool(flags & 2),
                           bool(flags & 4), colours[flags]});
    g.setCell(40, 32, GridCell{QStringLiteral("Čokolada ŠŽĐ"), false, false, false, 0});
    g.ClearUndoRedo();
}

void expectSameGrid(const GridCore& a, const GridCore& b)
{
    ASSERT_EQ(a.ColumnCount(), b.ColumnCount());
    for (int c = 1; c <= a.ColumnCount(); ++c) {
        EXPECT_EQ(a.GetColumnHeader(c), b.GetColumnHeader(c)) << c;
        EXPECT_EQ(a.GetWidthColumn(c), b.GetWidthColumn(c)) << c;
    }
    ASSERT_EQ(a.ListCount(), b.ListCount());
    for (int r = 1; r <= a.ListCount(); ++r)
        for (int c = 1; c <= a.ColumnCount(); ++c)
            EXPECT_EQ(a.cell(r, c), b.cell(r, c)) << "row " << r << " column " << c;
}

} // namespace

TEST_F(GridFileTest, RoundTripsThroughAllThreeForms)
{
    GridCore source;
    fillRich(source);
    GridFile file(source);
    ASSERT_TRUE(file.SaveFileAs(path("plain.QVI"), false).ok);
    ASSERT_TRUE(file.SaveFileAs(path("scrambled.QVI"), true).ok);
    put(path("password.QVI"), unscrambled(path("scrambled.QVI")));
    ASSERT_TRUE(bytesOf(path("password.QVI")).startsWith("#@#\r\np&z7\r\n\\\\32|#||Item Name|150||C2|#|22||"));

    for (const char* name : {"plain.QVI", "password.QVI", "scrambled.QVI"}) {
        GridCore target;
        target.ChangeItem(1, 1, QStringLiteral("old"));
        GridFile reader(target);
        ASSERT_TRUE(reader.OpenFile(path(name)).ok) << name;
        expectSameGrid(target, source);
        EXPECT_TRUE(target.UndoStack().isEmpty()) << name;
        EXPECT_TRUE(target.RedoStack().isEmpty()) << name;
    }
}

TEST_F(GridFileTest, StateFieldsFollowEveryOpenAndSave)
{
    GridCore g;
    GridFile file(g);
    EXPECT_EQ(file.OpenedFileName(), QString());
    EXPECT_FALSE(file.iIsEncrypted());
    EXPECT_EQ(file.ListPasswordLine(), QString());

    // A new grid saved with SaveFile goes through SaveFileAs: the default password text.
    const QString doc = path("new.QVI");
    ASSERT_TRUE(file.SaveFile(doc, true).ok);
    EXPECT_EQ(file.OpenedFileName(), doc);
    EXPECT_TRUE(file.iIsEncrypted());
    EXPECT_EQ(linesOf(unscrambled(doc)).value(1), QStringLiteral("p&z7"));
    // Saved again in place, with the grid's own password line, which is still empty.
    ASSERT_TRUE(file.SaveFile(doc, true).ok);
    EXPECT_EQ(linesOf(unscrambled(doc)).value(1), QString());
    EXPECT_EQ(file.ListPasswordLine(), QString());

    // The same path in another letter case is another file: SaveFileAs.
    const QString other = path("NEW.QVI");
    ASSERT_TRUE(file.SaveFile(other, true).ok);
    EXPECT_EQ(file.OpenedFileName(), other);
    EXPECT_EQ(linesOf(unscrambled(other)).value(1), QStringLiteral("p&z7"));

    // Written plain in place: the fields stay, also iIsEncrypted.
    ASSERT_TRUE(file.SaveFile(other, false).ok);
    EXPECT_TRUE(bytesOf(other).startsWith("\\\\1|#||"));
    EXPECT_TRUE(file.iIsEncrypted());
    EXPECT_EQ(file.OpenedFileName(), other);

    // SaveFileAs plain.
    ASSERT_TRUE(file.SaveFileAs(path("p.QVI"), false).ok);
    EXPECT_FALSE(file.iIsEncrypted());
    EXPECT_EQ(file.OpenedFileName(), path("p.QVI"));

    // Opened plain, saved scrambled to its own path: through SaveFileAs.
    ASSERT_TRUE(file.OpenFile(path("p.QVI")).ok);
    EXPECT_FALSE(file.iIsEncrypted());
    EXPECT_EQ(file.ListPasswordLine(), QStringLiteral("p&z7"));
    put(path("p.QVI"), "\\\\1|#||A|50\r\n\\\\1\r\n");
    ASSERT_TRUE(file.SaveFile(path("p.QVI"), true).ok);
    EXPECT_TRUE(file.iIsEncrypted());
    EXPECT_EQ(linesOf(unscrambled(path("p.QVI"))).value(1), QStringLiteral("p&z7"));

    // Password-form and scrambled files bring their own password line, kept by SaveFile.
    put(path("pw.QVI"), "#@#\r\nmine\r\n\\\\1|#||A|50\r\n\\\\1\r\n");
    ASSERT_TRUE(file.OpenFile(path("pw.QVI")).ok);
    EXPECT_TRUE(file.iIsEncrypted());
    EXPECT_EQ(file.ListPasswordLine(), QStringLiteral("mine"));
    ASSERT_TRUE(file.SaveFile(path("pw.QVI"), true).ok);
    EXPECT_TRUE(ListFileScrambler::looksScrambled(bytesOf(path("pw.QVI"))));
    ASSERT_TRUE(file.OpenFile(path("pw.QVI")).ok);
    EXPECT_EQ(file.ListPasswordLine(), QStringLiteral("mine"));
    EXPECT_EQ(file.OpenedFileName(), path("pw.QVI"));
    EXPECT_TRUE(file.iIsEncrypted());

    // SaveFileAs writes the default password text and leaves the remembered line alone.
    ASSERT_TRUE(file.SaveFileAs(path("as.QVI"), true).ok);
    EXPECT_EQ(linesOf(unscrambled(path("as.QVI"))).value(1), QStringLiteral("p&z7"));
    EXPECT_EQ(file.ListPasswordLine(), QStringLiteral("mine"));
    ASSERT_TRUE(file.SaveFile(path("as.QVI"), true).ok);
    EXPECT_EQ(linesOf(unscrambled(path("as.QVI"))).value(1), QStringLiteral("mine"));
}

TEST_F(GridFileTest, ColumnsComeBackWithTheGridsOwnLimits)
{
    put(path("w.QVI"), "\\\\40|#||A|600||B|600||C|3"
                       "||4|1||5|1||6|1||7|1||8|1||9|1||10|1||11|1||12|1||13|1||14|1||15|1||16|1"
                       "||17|1||18|1||19|1||20|1||21|1||22|1||23|1||24|1||25|1||26|1||27|1||28|1"
                       "||29|1||30|1||31|1||32|1||33|1||34|1\r\n\\\\1\r\n");
    GridCore g;
    GridFile file(g);
    ASSERT_TRUE(file.OpenFile(path("w.QVI")).ok);
    EXPECT_EQ(g.ColumnCount(), 32);
    EXPECT_EQ(g.GetWidthColumn(1), 510);
    EXPECT_EQ(g.GetWidthColumn(2), 600);
    EXPECT_EQ(g.GetWidthColumn(3), 5);

    // A count of 3 with only two entries: two columns.
    put(path("h.QVI"), "\\\\3|#||A|50||B|60\r\n\\\\2\r\n");
    ASSERT_TRUE(file.OpenFile(path("h.QVI")).ok);
    EXPECT_EQ(g.ColumnCount(), 2);
    EXPECT_EQ(g.GetColumnHeader(2), QStringLiteral("B"));
    EXPECT_EQ(g.ListCount(), 2);
}

TEST_F(GridFileTest, CellsBeyondTheColumnsAreKeptButNotSavedAgain)
{
    put(path("c.QVI"), "\\\\10|#||1|50||2|50||3|50||4|50||5|50||6|50||7|50||8|50||9|50||10|50\r\n\\\\3\r\n"
                       "twenty#0#000#20#1\r\nforty#0#000#40#1\r\nfive#0#000#1#5\r\nok#0#000#1#3\r\n");
    GridCore g;
    GridFile file(g);
    ASSERT_TRUE(file.OpenFile(path("c.QVI")).ok);
    EXPECT_EQ(g.row(1).text(20), QStringLiteral("twenty"));
    EXPECT_EQ(g.GetItem(1, 20), QString()); // not shown
    EXPECT_EQ(g.GetItem(3, 1), QStringLiteral("ok"));
    ASSERT_TRUE(file.SaveFileAs(path("c2.QVI"), false).ok);
    EXPECT_FALSE(bytesOf(path("c2.QVI")).contains("twenty"));
}

TEST_F(GridFileTest, CarriageReturnInACellReadsBackAsALineBreak)
{
    GridCore g;
    g.ChangeItem(1, 1, QStringLiteral("first\r\nsecond\rthird"));
    g.AddRow(QStringLiteral("next"));
    GridFile file(g);
    ASSERT_TRUE(file.SaveFile(path("cr.QVI"), true).ok);

    GridCore back;
    GridFile reader(back);
    ASSERT_TRUE(reader.OpenFile(path("cr.QVI")).ok);
    EXPECT_EQ(back.ListCount(), 2);
    EXPECT_EQ(back.GetItem(1, 1), QStringLiteral("first\nsecond\nthird"));
    EXPECT_EQ(back.GetItem(2, 1), QStringLiteral("next"));
}

TEST_F(GridFileTest, RowCountIsKeptWithinWhatAGridCanHold)
{
    GridCore g;
    GridFile file(g);
    put(path("zero.QVI"), "\\\\1|#||A|50\r\n\\\\0\r\nx#0#000#1#1\r\n");
    ASSERT_TRUE(file.OpenFile(path("zero.QVI")).ok);
    EXPECT_EQ(g.ListCount(), 1);
    EXPECT_EQ(g.GetItem(1, 1), QStringLiteral("x"));

    put(path("negative.QVI"), "\\\\1|#||A|50\r\n\\\\-3\r\n");
    ASSERT_TRUE(file.OpenFile(path("negative.QVI")).ok);
    EXPECT_EQ(g.ListCount(), 1);
}

TEST_F(GridFileTest, AFailedOpenLeavesGridAndFieldsAsTheyWere)
{
    GridCore g;
    GridFile file(g);
    g.AddColumn(0, 70, QStringLiteral("Price"));
    g.ChangeItem(1, 1, QStringLiteral("keep"));
    ASSERT_TRUE(file.SaveFile(path("mine.QVI"), true).ok);
    g.ChangeItem(1, 2, QStringLiteral("unsaved"));
    const int undoSteps = g.UndoStack().stepCount();

    put(path("huge.QVI"), "\\\\1|#||A|50\r\n\\\\2000000000\r\nx#0#000#1#1\r\n");
    // A name that looks like a placeholder of the message is named as it is.
    ASSERT_TRUE(QFile::copy(path("huge.QVI"), path("huge %1.QVI")));
    QDir(dir.path()).mkdir(QStringLiteral("folder.QVI"));
    // Files that are not documents at all: a picture and a letter given the extension.
    put(path("picture.QVI"), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    put(path("letter.QVI"), "no header\r\n");
    for (const char* name : {"missing.QVI", "folder.QVI", "huge.QVI", "huge %1.QVI", "picture.QVI", "letter.QVI"}) {
        const auto result = file.OpenFile(path(name));
        EXPECT_FALSE(result.ok) << name;
        EXPECT_TRUE(result.error.contains(path(name))) << result.error.toStdString();
        EXPECT_EQ(file.OpenedFileName(), path("mine.QVI"));
        EXPECT_TRUE(file.iIsEncrypted());
        EXPECT_EQ(file.ListPasswordLine(), QString());
        EXPECT_EQ(g.ColumnCount(), 2);
        EXPECT_EQ(g.GetItem(1, 2), QStringLiteral("unsaved"));
        EXPECT_EQ(g.UndoStack().stepCount(), undoSteps);
    }
}

TEST_F(GridFileTest, AnEmptyFileOpensAsAnEmptyDocument)
{
    // The old document must not stay in the grid under the new file's name, not even in
    // column 1's caption and width: it gets a new grid's column. So does a column 1 whose
    // width in the file does not read or is refused.
    for (const QByteArray& content : {QByteArray(), QByteArray("#@#\r\n\r\n"),
                                      QByteArray("\\\\1|#||Name|wide\r\n"), QByteArray("\\\\1|#||Name|-20\r\n")}) {
        GridCore g;
        g.SetColumnHeader(1, QStringLiteral("Old name"));
        g.LetWidthColumn(1, 250);
        g.AddColumn(0, 70, QStringLiteral("Price"));
        g.ChangeItem(1, 2, QStringLiteral("old"));
        GridFile file(g);
        put(path("empty.QVI"), content);
        ASSERT_TRUE(file.OpenFile(path("empty.QVI")).ok);
        EXPECT_EQ(g.ColumnCount(), 1) << content.constData();
        EXPECT_EQ(g.ListCount(), 1);
        EXPECT_EQ(g.GetItem(1, 1), QString());
        EXPECT_EQ(g.GetColumnHeader(1), content.contains("Name") ? QStringLiteral("Name") : QString()) << content.constData();
        EXPECT_EQ(g.GetWidthColumn(1), 100) << content.constData();
        EXPECT_EQ(file.OpenedFileName(), path("empty.QVI"));
    }
}

TEST_F(GridFileTest, ASaveThatFailsPartWayLeavesTheOldFileByteForByte)
{
    GridCore g;
    g.ChangeItem(1, 1, QStringLiteral("small"));
    GridFile file(g);
    const QString doc = path("doc.QVT");
    ASSERT_TRUE(file.SaveFile(doc, true).ok);
    const QByteArray before = bytesOf(doc);

    // A document far larger than the file size the process may write: the write stops
    // after the first 4 KiB.
    fillRich(g);
    for (int r = 1; r <= 40; ++r)
        g.setCell(r, 2, GridCell{QString(200, QLatin1Char('x')), false, false, false, 0});
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto inPlace = file.SaveFile(doc, true);
    const auto asNew = file.SaveFileAs(doc, false);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(inPlace.ok);
    EXPECT_FALSE(asNew.ok);
    EXPECT_TRUE(inPlace.error.contains(doc));
    EXPECT_EQ(bytesOf(doc), before);
    EXPECT_TRUE(file.iIsEncrypted()); // the failed SaveFileAs changed nothing
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("doc.QVT")});

    ASSERT_TRUE(file.SaveFile(doc, true).ok);
    EXPECT_NE(bytesOf(doc), before);
}

// The file's text is Windows-1250: a character it lacks would be written as "?", and the
// document read back would no longer hold what was typed. Such a save writes nothing and
// names the file, the cell (or the caption) and the character; once it is changed, the save
// goes through. "€" is held.
TEST_F(GridFileTest, ASaveOfACharacterTheFileCannotHoldWritesNothingAndNamesIt)
{
    GridCore g;
    GridFile file(g);
    g.SetColumnHeader(1, QStringLiteral("Item Name"));
    g.AddColumn(0, 60, QStringLiteral("Price"));
    g.AddColumn(0, 60, QString());
    g.resetRows(4);
    g.ChangeItem(1, 1, QStringLiteral("Žaga €5"));
    const QString doc = path("doc.QVI");
    ASSERT_TRUE(file.SaveFile(doc, true).ok);
    const QByteArray before = bytesOf(doc);

    const struct {
        int row, column;
        const char* text;
        const char* told;
    } cases[] = {
        {3, 1, "Tømrer", "the cell in row 3, column 1 (\"Item Name\") holds the character \"ø\" (U+00F8)"},
        {2, 2, "12 😀", "the cell in row 2, column 2 (\"Price\") holds the character \"😀\" (U+1F600)"},
        {4, 3, "東京", "the cell in row 4, column 3 holds the character \"東\" (U+6771)"},
    };
    for (const auto& c : cases) {
        g.ChangeItem(c.row, c.column, QString::fromUtf8(c.text));
        for (const bool asNew : {false, true}) {
            const auto result = asNew ? file.SaveFileAs(path("other.QVI"), true) : file.SaveFile(doc, true);
            EXPECT_FALSE(result.ok) << c.text;
            EXPECT_TRUE(result.error.contains(QString::fromUtf8(c.told))) << result.error.toStdString();
            EXPECT_TRUE(result.error.contains(asNew ? path("other.QVI") : doc)) << result.error.toStdString();
            EXPECT_FALSE(file.checkStorable(doc).ok);
        }
        EXPECT_EQ(bytesOf(doc), before);
        EXPECT_FALSE(QFile::exists(path("other.QVI")));
        EXPECT_EQ(file.OpenedFileName(), doc);
        g.ChangeItem(c.row, c.column, QString());
    }
    g.SetColumnHeader(2, QString::fromUtf8("Preção")); // "ç" is held, "ã" is not
    const auto caption = file.SaveFile(doc, true);
    EXPECT_FALSE(caption.ok);
    EXPECT_TRUE(caption.error.contains(QString::fromUtf8("the caption of column 2 holds the character \"ã\" (U+00E3)")))
        << caption.error.toStdString();
    EXPECT_EQ(bytesOf(doc), before);

    // A cell beyond the columns is not written, so it stops no save.
    g.SetColumnHeader(2, QStringLiteral("Price"));
    g.setCell(1, 9, GridCell{QString::fromUtf8("ø"), false, false, false, 0});
    g.ChangeItem(2, 1, QString::fromUtf8("Tomás Ž €"));
    ASSERT_TRUE(file.SaveFile(doc, true).ok);
    GridCore back;
    GridFile reread(back);
    ASSERT_TRUE(reread.OpenFile(doc).ok);
    EXPECT_EQ(back.GetItem(2, 1), QString::fromUtf8("Tomás Ž €"));
}

TEST_F(GridFileTest, ASaveLeavesNoScratchFileBehind)
{
    GridCore g;
    g.ChangeItem(1, 1, QStringLiteral("x"));
    GridFile file(g);
    ASSERT_TRUE(file.SaveFile(path("a.QVI"), true).ok);
    ASSERT_TRUE(file.OpenFile(path("a.QVI")).ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.QVI")});
}
