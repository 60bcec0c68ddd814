// Find and replace from the window's Find frame: the user types into its fields, ticks its
// boxes and clicks Find or Replace.

#include "documentfixture.h"

#include <QCheckBox>
#include <QTest>

namespace windowtest {
namespace {

using platform::Answer;

class FindFrame : public DocumentFixture {
protected:
    void SetUp() override
    {
        openWindow();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        const QStringList names = {"Hammer", "SCREWDRIVER set", "pliers", "screws", "Nail"};
        for (int r = 0; r < names.size(); ++r)
            window->List1().ChangeItem(r + 1, 1, names[r]);
        window->List1().ClearUndoRedo();
        window->setlblChangeStatus(QStringLiteral("0"));
        window->cmdFind_Click();
        ASSERT_FALSE(window->Find()->isHidden());
    }

    QLineEdit* field(const char* name) { return window->Find()->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    void type(const char* name, const QString& text)
    {
        field(name)->clear();
        QTest::keyClicks(field(name), text);
    }
    void tick(const char* name, bool on)
    {
        auto* box = qobject_cast<QCheckBox*>(window->button(QString::fromLatin1(name)));
        ASSERT_NE(box, nullptr) << name;
        if (box->isChecked() != on)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        ASSERT_EQ(box->isChecked(), on) << name;
    }
    void click(const char* name) { window->button(QString::fromLatin1(name))->click(); }
    QString cell(int r) { return window->List1().GetItem(r, 1); }
};

TEST_P(FindFrame, FindMovesFromRowToRowIgnoringCaseUnlessExact)
{
    window->List1().SelectItem(1, 1);
    type("txttoFind", QStringLiteral("screw"));
    click("FindInList");
    EXPECT_EQ(window->List1().iSelected(), 2);
    click("FindInList");
    EXPECT_EQ(window->List1().iSelected(), 4);

    // Exact: the capitals of row 2 no longer match; row 4 is searched last, after the others.
    tick("ExactMatch", true);
    click("FindInList");
    EXPECT_EQ(window->List1().iSelected(), 4);
    type("txttoFind", QStringLiteral("Screw"));
    prompts->queueAnswer(Answer::OK);
    click("FindInList");
    EXPECT_EQ(prompts->texts(), QStringList{"Not Found!"});
    EXPECT_EQ(prompts->recorded().last().style, 0);
    EXPECT_EQ(window->List1().iSelected(), 4);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));

    // The empty text selects the row after the selected one.
    type("txttoFind", QString());
    click("FindInList");
    EXPECT_EQ(window->List1().iSelected(), 5);
}

TEST_P(FindFrame, ReplaceOnceOrEverywhereMarksTheChangeAndUndoesStepByStep)
{
    if (!window->button(QStringLiteral("ReplaceInList")))
        GTEST_SKIP() << "the kind's Find frame has no replace";
    window->List1().SelectItem(1, 1);
    type("txttoFind", QStringLiteral("screw"));
    type("txttoReplace", QStringLiteral("bolt"));
    click("ReplaceInList");
    EXPECT_EQ(cell(2), QStringLiteral("boltDRIVER set"));
    EXPECT_EQ(cell(4), QStringLiteral("screws"));
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));

    tick("ReplaceAll", true);
    type("txttoFind", QStringLiteral("L"));
    type("txttoReplace", QStringLiteral("_"));
    click("ReplaceInList");
    EXPECT_EQ(cell(2), QStringLiteral("bo_tDRIVER set"));
    EXPECT_EQ(cell(3), QStringLiteral("p_iers"));
    EXPECT_EQ(cell(5), QStringLiteral("Nai_"));
    window->cmdUndo_Click();
    EXPECT_EQ(cell(5), QStringLiteral("Nail"));
    EXPECT_EQ(cell(3), QStringLiteral("p_iers"));
    window->cmdUndo_Click();
    EXPECT_EQ(cell(3), QStringLiteral("pliers"));

    window->setlblChangeStatus(QStringLiteral("0"));
    type("txttoFind", QStringLiteral("anvil"));
    prompts->queueAnswer(Answer::OK);
    click("ReplaceInList");
    EXPECT_EQ(prompts->texts(), QStringList{"Not Found!"});
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
}

INSTANTIATE_FOR_EVERY_KIND(FindFrame);

} // namespace
} // namespace windowtest
