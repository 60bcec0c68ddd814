// The layout, the bars, the placement kept in the settings store and the launcher's opening
// steps, as every document window has them.

#include "documentfixture.h"
#include "support/controlfit.h"

namespace windowtest {
namespace {

using platform::Answer;
using windows::ControlPlace;

class Layout : public DocumentFixture {
protected:
    void SetUp() override
    {
        openWindow();
        window->resize(600, 400);
    }
    int clientWidth() const { return window->List1().parentWidget()->width() * 15; }
    int clientHeight() const { return window->List1().parentWidget()->height() * 15; }
    void showBars(bool tool, bool text)
    {
        if (window->menu(QStringLiteral("toolbar"))->isChecked() != tool)
            window->toolbar_Click();
        if (window->menu(QStringLiteral("textbar"))->isChecked() != text)
            window->textbar_Click();
    }
    ControlPlace at(const char* control) const { return window->place(QString::fromLatin1(control)); }
};

TEST_P(Layout, RepositionPlacesTheGridBarsAndFrames)
{
    const int w = clientWidth(), h = clientHeight();
    ASSERT_EQ(w, 9000);
    struct Case {
        const char* name;
        bool tool, text, find;
        ControlPlace list;
        int textLeft, textWidth;
        int findTop;
    };
    const Case cases[] = {
        {"no bars", false, false, false, {0, 0, w - 100, h - 100}, 4680, 9000 - 4870, 360},
        {"the text bar alone", false, true, false, {0, 360, w - 100, h - 460}, 0, w - 100, 360},
        {"both bars", true, true, false, {0, 360, w - 100, h - 460}, 4680, 9000 - 4870, 360},
        {"the tool bar and the Find frame", true, false, true, {0, 960, w - 100, h - 460}, 4680, 9000 - 4870, 360},
        {"the Find frame alone", false, false, true, {0, 600, w - 100, h - 100}, 4680, 9000 - 4870, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        showBars(c.tool, c.text);
        window->Find()->setVisible(c.find);
        const ControlPlace waitBefore = at("PleaseWait");
        window->Reposition();
        EXPECT_EQ(at("List1"), c.list);
        EXPECT_EQ(at("mainbar").Width, w - 100);
        EXPECT_EQ(at("TextText").Left, c.textLeft);
        EXPECT_EQ(at("TextText").Width, c.textWidth);
        if (c.find) {
            EXPECT_EQ(at("Find").Top, c.findTop);
        }
        // The progress frame moves only while the text bar sits beside the tool bar.
        if (c.text && !c.tool)
            EXPECT_EQ(at("PleaseWait"), waitBefore);
        else
            EXPECT_EQ(at("PleaseWait"), (ControlPlace{(w - 100) / 2 - 2500, c.list.Top == 0 || c.list.Top == 600 ? 0 : 2880, 5775, 615}));
        // The widgets show the places in pixels.
        EXPECT_EQ(window->List1().geometry(),
                  QRect(0, qRound(c.list.Top / 15.0), qRound(c.list.Width / 15.0), qRound(c.list.Height / 15.0)));
        EXPECT_EQ(window->mainbar()->isHidden(), !c.tool);
        EXPECT_EQ(window->TextText()->isHidden(), !c.text);
    }
}

// The Find button moves only the grid; the frame's X lays the window out again.
TEST_P(Layout, TheFindButtonMovesOnlyTheGrid)
{
    showBars(false, false);
    window->Reposition();
    const ControlPlace before = at("List1");
    const int findTop = at("Find").Top;
    window->cmdFind_Click();
    EXPECT_TRUE(window->Find()->isVisibleTo(window.get()));
    EXPECT_EQ(at("List1").Top, 960);
    EXPECT_EQ(at("List1").Height, before.Height);
    EXPECT_EQ(at("Find").Top, findTop);
    window->cmdFind_Click();
    EXPECT_TRUE(window->Find()->isHidden());
    EXPECT_EQ(at("List1").Top, 360);
    window->cmdFind_Click();
    window->Label1_Click();
    EXPECT_TRUE(window->Find()->isHidden());
    EXPECT_EQ(at("List1").Top, 0);
}

// A window too small for a step skips that step and carries on with the next.
TEST_P(Layout, StepsThatWouldGiveANegativeSizeAreSkipped)
{
    showBars(true, true);
    window->Reposition();
    const ControlPlace before = at("List1");
    window->resize(4, 40);
    EXPECT_EQ(at("List1").Width, before.Width);
    EXPECT_EQ(at("List1").Top, 360);
    EXPECT_EQ(at("TextText").Left, 4680);
}

// At the window's font every caption of the Find frame is whole ("Exact Match", "Replace
// all"), no control covers another (the check box no longer runs under "Replace") and all of
// them lie within the frame.
TEST_P(Layout, TheFindFramesCaptionsAreWholeAndNoControlCoversAnother)
{
    window->cmdFind_Click();
    QFrame* find = window->Find();
    ASSERT_TRUE(find->isVisibleTo(window.get()));
    QList<QWidget*> controls;
    for (QWidget* child : find->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (!child->isHidden())
            controls << child;
    EXPECT_GE(controls.size(), 4);
    EXPECT_EQ(testsupport::cutCaptions(controls), QStringList());
    EXPECT_EQ(testsupport::overlappingControls(controls), QStringList());
    EXPECT_EQ(testsupport::controlsOutside(controls, find->contentsRect()), QStringList());
    EXPECT_EQ(find->geometry().width() * 15, at("Find").Width);
}

class Placement : public DocumentFixture {
protected:
    TextField& field(int k) { return program.store.*(row().placement[size_t(k)]); }
    QStringList stored()
    {
        QStringList out;
        for (int k = 0; k < 7; ++k)
            out << field(k).value();
        return out;
    }
};

TEST_P(Placement, TheLauncherRestoresThePlacementBarsAndRecentMenus)
{
    const QStringList values = {"0", "1500", "1200", "4500", "7500", "False", "True"};
    for (int k = 0; k < 7; ++k)
        field(k) = values[k];
    slot(2).ToolTipText = fileName("Second");
    slot(2).Caption = local(fileName("Second"));
    openWindow();
    EXPECT_EQ(window->pos(), QPoint(100, 80));
    EXPECT_EQ(window->size(), QSize(500, 300));
    EXPECT_FALSE(window->menu(QStringLiteral("toolbar"))->isChecked());
    EXPECT_TRUE(window->menu(QStringLiteral("textbar"))->isChecked());
    EXPECT_TRUE(window->mainbar()->isHidden());
    EXPECT_FALSE(window->TextText()->isHidden());
    EXPECT_EQ(window->place(QStringLiteral("TextText")).Left, 0); // laid out for the text bar alone
    EXPECT_FALSE(window->menu(QStringLiteral("file1"))->isVisible());
    EXPECT_TRUE(window->menu(QStringLiteral("file2"))->isVisible());
    EXPECT_EQ(window->menu(QStringLiteral("file2"))->text(), fileName("Second"));
    EXPECT_TRUE(window->isVisible());

    // Closing stores what the window shows now, also when the close is cancelled.
    window->move(60, 40);
    window->resize(520, 330);
    window->toolbar_Click();
    edit(QStringLiteral("edited"));
    prompts->queueAnswer(Answer::Cancel);
    EXPECT_EQ(window->closeWindow(), windows::CloseOutcome::Cancelled);
    EXPECT_EQ(stored(), (QStringList{"0", "900", "600", "4950", "7800", "True", "True"}));

    // Opened again, the window is put back where it was stored.
    window->move(0, 0);
    window->showFromLauncher();
    EXPECT_EQ(window->pos(), QPoint(60, 40));
}

TEST_P(Placement, AMinimisedWindowIsStoredNormalAndAMaximisedOneAsSuch)
{
    openWindow();
    window->showMinimized();
    window->closeWindow();
    EXPECT_EQ(field(0).value(), QStringLiteral("0"));
    openWindow();
    window->showMaximized();
    window->closeWindow();
    EXPECT_EQ(field(0).value(), QStringLiteral("2"));
    openWindow();
    EXPECT_TRUE(window->isMaximized());
}

TEST_P(Placement, ADamagedPlacementStillOpensTheWindow)
{
    const QStringList values = {"x", "left", "", "-30", "1E+300", "maybe", "True"};
    for (int k = 0; k < 7; ++k)
        field(k) = values[k];
    openWindow();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->pos(), QPoint(85, 92));
    EXPECT_EQ(window->size(), QSize(604, 414));
    EXPECT_FALSE(window->menu(QStringLiteral("toolbar"))->isChecked());
}

// Back closes the window and shows the start-up window, also when the close is cancelled.
TEST_P(Placement, BackShowsTheStartupWindowWhateverTheAnswer)
{
    openWindow();
    edit(QStringLiteral("edited"));
    prompts->queueAnswer(Answer::Cancel);
    window->btnBack_Click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(program.shellCalls, QStringList{"show start-up"});
    prompts->queueAnswer(Answer::No);
    bool unloaded = false;
    QObject::connect(window.get(), &windows::DocumentWindow::unloaded, [&] { unloaded = true; });
    window->btnBack_Click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(unloaded);
    EXPECT_EQ(program.shellCalls, (QStringList{"show start-up", "show start-up", "unload search", "show start-up"}));
}

// The close box runs the same closing steps; Cancel keeps the window open.
TEST_P(Placement, TheCloseBoxAsksLikeEveryClose)
{
    openWindow();
    edit(QStringLiteral("edited"));
    prompts->queueAnswer(Answer::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    prompts->queueAnswer(Answer::No);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
}

INSTANTIATE_FOR_EVERY_KIND(Layout);
INSTANTIATE_FOR_EVERY_KIND(Placement);

} // namespace
} // namespace windowtest
