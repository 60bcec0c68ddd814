// The line items reach the posting as the bytes the grid's SaveFile would write, and the grid
// then remembers its file as that SaveFile would have left it.

#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "postingfiles.h"
#include "support/qtprinters.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using postingtest::contentOf;

namespace {

void fill(grid::GridCore& core, const QString& text)
{
    core.setColumnCaption(1, QStringLiteral("Item"));
    core.AddColumn(0, 60, QStringLiteral("Price"));
    core.resetRows(2);
    core.setCellText(1, 1, text);
    core.setCellText(2, 2, QStringLiteral("10"));
}

TEST(LineItemBytes, AreWhatSaveFileWritesInPlaceAndAsANewFile)
{
    QTemporaryDir dir;
    const QString opened = dir.filePath(QStringLiteral("a.QVT"));
    const QString other = dir.filePath(QStringLiteral("b.QVT"));
    grid::GridCore core;
    fill(core, QStringLiteral("Nail"));
    grid::GridFile file(core);
    // A file whose password line is its own: in place it is kept, as a new file it is not.
    ASSERT_TRUE(file.SaveFileAs(opened, true).ok);
    ASSERT_TRUE(file.OpenFile(opened).ok);
    core.setCellText(1, 1, QStringLiteral("Screw"));

    for (const QString& path : {opened, other}) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray bytes = file.SaveFileBytes(path, true);
        ASSERT_TRUE(file.SaveFile(path, true).ok);
        EXPECT_EQ(bytes, contentOf(path));
    }
    EXPECT_EQ(file.OpenedFileName(), other);

    // Written by someone else, the bytes leave the grid where a SaveFile would have: a plain
    // file is saved scrambled as a new one, and from then on in place.
    grid::GridCore plainCore;
    fill(plainCore, QStringLiteral("Bolt"));
    grid::GridFile plainFile(plainCore);
    ASSERT_TRUE(plainFile.SaveFileAs(opened, false).ok);
    (void)plainFile.SaveFileBytes(opened, true);
    plainFile.SaveFileWritten(opened, true);
    EXPECT_TRUE(plainFile.iIsEncrypted());
    EXPECT_EQ(plainFile.OpenedFileName(), opened);
    const QByteArray inPlace = plainFile.SaveFileBytes(opened, true);
    ASSERT_TRUE(plainFile.SaveFile(opened, true).ok);
    EXPECT_EQ(contentOf(opened), inPlace);
}

} // namespace
