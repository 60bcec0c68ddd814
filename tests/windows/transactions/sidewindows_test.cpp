// The transactions window with the real item groups window beside it, reached through the
// same narrow interface the program's registry hands out.

#include "transactionfixture.h"

#include "windows/document/documentsidewindow.h"
#include "windows/items/frmitems.h"

namespace transactiontest {
namespace {

class WithItemGroups : public TransactionWindow {
protected:
    WithItemGroups()
    {
        openWindow();
        window->move(300, 200);
    }
    windows::TransactionPartners partners()
    {
        windows::TransactionPartners p = TransactionWindow::partners();
        p.items = &realItems;
        return p;
    }
    void openWindow()
    {
        window = std::make_unique<windows::frmTransactions>(program.context(program.CommonDialog3, prompts.script()),
                                                            partners());
        program.documentWindow = window.get();
        window->showFromLauncher();
    }
    windows::frmItems& made()
    {
        if (!itemWindow)
            itemWindow = std::make_unique<windows::frmItems>(program.context(program.CommonDialog1, prompts.script()));
        return *itemWindow;
    }
    QString itemsFolder() const { return folder.filePath(QStringLiteral("System/RAzar/Items/")); }

    std::unique_ptr<windows::frmItems> itemWindow;
    windows::DocumentSideWindow realItems{[this](bool make) -> windows::DocumentWindow* {
        return make ? &made() : itemWindow.get();
    }};
};

// Add Items with Yes: the item group shown is cleared by New, the window is docked at the top
// left 5220 twips wide, this window moves to its right, and its Open dialog starts.
TEST_F(WithItemGroups, AddItemsDocksANewItemGroupAndStartsItsOpenDialog)
{
    made().showFromLauncher();
    made().List1().ChangeItem(1, 1, QStringLiteral("hammer")); // an unchanged group on screen
    made().setlblChangeStatus(QStringLiteral("0"));
    made().move(500, 400);
    prompts->queueAnswer(Answer::Yes);
    prompts->queueOpenCancel();
    window->menu(QStringLiteral("additem"))->trigger();
    EXPECT_EQ(made().List1().GetItem(1, 1), QString());
    EXPECT_EQ(made().windowTitle(), QStringLiteral("Items Group [ Unsaved ]"));
    EXPECT_EQ(made().pos(), QPoint(0, 0));
    EXPECT_EQ(made().width(), 348);
    EXPECT_EQ(window->pos(), QPoint(348, 0));
    const testsupport::RecordedPrompt open = prompts->recorded().last();
    EXPECT_EQ(open.kind, testsupport::PromptKind::ShowOpen);
    EXPECT_EQ(open.dialog.InitDir, itemsFolder());
}

// Save closes the item groups window first; a changed item group is asked about, and the save
// goes on whatever the answer.
TEST_F(WithItemGroups, SaveClosesTheItemGroupsWindowAfterItsQuestion)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}});
    const QString path = transaction(QStringLiteral("17.QVT"));
    writeTransaction(path, headerToContact(QStringLiteral("17"), QStringLiteral("30"), bank), 3);
    openThroughDialog(path);
    made().showFromLauncher();
    made().List1().ChangeItem(1, 1, QStringLiteral("hammer"));
    emit made().List1().GridKeyDown(65, 0, 1, 1);
    prompts.script().clear();
    prompts->queueAnswer(Answer::Cancel); // the item group's "Save Changes?"
    prompts->queueAnswer(Answer::OK);     // "Transaction Saved"
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_EQ(prompts->recorded().first().text, QStringLiteral("Save Changes?"));
    EXPECT_EQ(prompts->recorded().first().title, QStringLiteral("Items Group [ Unsaved ]"));
    EXPECT_TRUE(made().isVisible());
    EXPECT_EQ(cellOf(bank, 1, 2), QStringLiteral("37"));

    prompts->queueAnswer(Answer::No);
    prompts->queueAnswer(Answer::OK);
    ASSERT_TRUE(window->cmdSave_Click());
    EXPECT_FALSE(made().isVisible());
}

} // namespace
} // namespace transactiontest
