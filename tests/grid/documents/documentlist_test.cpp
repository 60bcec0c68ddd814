#include "grid/documents/documentlist.h"

#include "exchangefakes.h"
#include "support/qtprinters.h"
#include "support/scopedprompts.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The grid the windows embed: its document members act on the grid it shows.
TEST(DocumentList, TheListFileMembersWorkOnTheShownGrid)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tools.QVI"));
    grid::DocumentList list;
    list.resize(300, 200);
    list.AddColumn(0, 60, QStringLiteral("Price"));
    list.AddMoreThanOneRow(2);
    list.ChangeItem(2, 1, QStringLiteral("hammer"));
    ASSERT_TRUE(list.SaveFileAs(path, true));
    EXPECT_EQ(list.OpenedFileName(), path);
    EXPECT_TRUE(list.iIsEncrypted());

    grid::DocumentList other;
    ASSERT_TRUE(other.OpenFile(path));
    EXPECT_EQ(other.ColumnCount(), 2);
    EXPECT_EQ(other.GetColumnHeader(2), QStringLiteral("Price"));
    EXPECT_EQ(other.GetItem(2, 1), QStringLiteral("hammer"));
    EXPECT_FALSE(other.undo());

    const platform::FileResult missing = other.OpenFile(dir.filePath(QStringLiteral("missing.QVI")));
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("missing.QVI"))) << missing.error.toStdString();
    EXPECT_EQ(other.GetItem(2, 1), QStringLiteral("hammer"));
}

// Find and replace work on the grid the widget shows and move its selection.
TEST(DocumentList, FindShowsTheHitInTheWidget)
{
    grid::DocumentList list;
    list.resize(300, 200);
    list.show();
    list.AddMoreThanOneRow(4);
    list.ChangeItem(4, 1, QStringLiteral("brass hinge"));
    EXPECT_TRUE(list.FindText(QStringLiteral("HINGE")));
    EXPECT_EQ(list.iSelected(), 4);
    EXPECT_FALSE(list.FindText(QStringLiteral("HINGE"), true));
    EXPECT_TRUE(list.FindAndReplaceText(QStringLiteral("brass"), QStringLiteral("steel")));
    EXPECT_EQ(list.GetItem(4, 1), QStringLiteral("steel hinge"));
}

// Without the program around it the spreadsheet members refuse and change nothing.
TEST(DocumentList, SpreadsheetMembersNeedTheProgramAroundTheGrid)
{
    grid::DocumentList list;
    list.ChangeItem(1, 1, QStringLiteral("kept"));
    EXPECT_FALSE(list.importexcel(QStringLiteral("/nowhere.xls"), 10));
    EXPECT_FALSE(list.exporttoexcel());
    EXPECT_FALSE(list.exporttotransactionform());
    EXPECT_EQ(list.GetItem(1, 1), QStringLiteral("kept"));

    // With it, they run: the start-up probe's refusal is the export's own message.
    FakeHost host;
    host.excelStatus = QStringLiteral("NERADI");
    list.setExchangeHost(&host);
    testsupport::ScopedPrompts prompts;
    prompts->queueAnswer(platform::Answer::OK);
    EXPECT_FALSE(list.exporttoexcel());
    EXPECT_EQ(prompts->recorded().last().text, QStringLiteral("Quorvane failed to initialize Microsoft Excel"));
    list.setExchangeHost(nullptr);
}

} // namespace
