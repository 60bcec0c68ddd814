#include "services/recentfilelist.h"

#include "datafiles/settingsstore.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

using datafiles::RecentFileSlot;
using services::RecentFileList;

namespace {

constexpr uint32_t Next = RecentFileSlot::NextSlotColor;
constexpr uint32_t Written = RecentFileSlot::WrittenSlotColor;

class RecentFileListTest : public ::testing::Test {
protected:
    datafiles::SettingsStore store;
    RecentFileList list{{&store.frmItemsfile1, &store.frmItemsfile2, &store.frmItemsfile3},
                        QStringLiteral(".QVI")};

    std::array<uint32_t, 3> markers() const
    {
        return {store.frmItemsfile1.BackColor.value(), store.frmItemsfile2.BackColor.value(),
                store.frmItemsfile3.BackColor.value()};
    }
    QStringList paths() const { return {list.path(1), list.path(2), list.path(3)}; }
};

TEST_F(RecentFileListTest, SlotsAreWrittenInTurnStartingWithSlotOne)
{
    // The last run's newest document in slot 1 is overwritten first all the same.
    store.frmItemsfile1.Caption = QStringLiteral("/d/last run.QVI");
    const struct {
        QString path;
        int slot;
        std::array<uint32_t, 3> markers;
    } steps[] = {
        {QStringLiteral("/d/a.QVI"), 1, {Written, Next, Next}},
        {QStringLiteral("/d/b.QVI"), 2, {Written, Written, Next}},
        {QStringLiteral("/d/c.QVI"), 3, {Next, Next, Written}},
        {QStringLiteral("/d/d.QVI"), 1, {Written, Next, Next}},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(list.record(s.path, s.path.mid(3)), s.slot) << s.path.toStdString();
        EXPECT_EQ(markers(), s.markers) << s.path.toStdString();
    }
    EXPECT_EQ(paths(), (QStringList{"/d/d.QVI", "/d/b.QVI", "/d/c.QVI"}));
}

TEST_F(RecentFileListTest, APathInAnotherSlotIsNotRecordedAgain)
{
    ASSERT_EQ(list.record(QStringLiteral("/d/a.QVI"), QStringLiteral("a.QVI")), 1);
    ASSERT_EQ(list.record(QStringLiteral("/d/b.QVI"), QStringLiteral("b.QVI")), 2);
    EXPECT_EQ(list.record(QStringLiteral("/d/a.QVI"), QStringLiteral("a.QVI")), 0);
    EXPECT_EQ(markers(), (std::array<uint32_t, 3>{Written, Written, Next}));
    // Other letter case is another path.
    EXPECT_EQ(list.record(QStringLiteral("/d/A.QVI"), QStringLiteral("A.QVI")), 3);
    // Slot 1 is marked now and holds a.QVI: a path standing in the marked slot itself is
    // written there again and moves the marker on.
    ASSERT_EQ(list.nextSlot(), 1);
    EXPECT_EQ(list.record(QStringLiteral("/d/a.QVI"), QStringLiteral("a.QVI")), 1);
    EXPECT_EQ(list.nextSlot(), 2);
}

TEST_F(RecentFileListTest, TitlesEndInTheExtensionAsItIsWritten)
{
    const struct {
        QString title, stored;
    } cases[] = {
        {QStringLiteral("Tools.QVI"), QStringLiteral("Tools.QVI")},
        {QStringLiteral("Tools"), QStringLiteral("Tools.QVI")},
        {QStringLiteral("Tools.qvi"), QStringLiteral("Tools.qvi.QVI")},
        {QString(), QStringLiteral(".QVI")},
    };
    int n = 0;
    for (const auto& c : cases) {
        const int k = list.record(QStringLiteral("/d/%1").arg(++n), c.title);
        ASSERT_GT(k, 0);
        EXPECT_EQ(list.title(k), c.stored) << c.title.toStdString();
    }
}

TEST_F(RecentFileListTest, ForgettingEmptiesTheSlotAndKeepsItsMarker)
{
    ASSERT_EQ(list.record(QStringLiteral("/d/a.QVI"), QStringLiteral("a.QVI")), 1);
    list.forget(1);
    EXPECT_EQ(list.path(1), QString());
    EXPECT_EQ(list.title(1), QString());
    EXPECT_EQ(markers(), (std::array<uint32_t, 3>{Written, Next, Next}));
}

} // namespace
