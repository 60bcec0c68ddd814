// Column 2 of a contact company holds each contact's balance, which the postings change in
// the file itself. A company open in this window while a posting changes it is never written
// back over the posting unasked.

#include "contactsfixture.h"

namespace contactstest {
namespace {

using platform::Answer;

TEST_F(ContactsWindow, ABalancePostedWhileTheCompanyIsOpenIsNotWrittenOverUnasked)
{
    const QString path = openClients();
    window.List1().SelectItem(2, 1);
    ASSERT_TRUE(window.TransferFrom()); // the company's lock goes, so that the posting may write
    postBalance(path, 2, QStringLiteral("-170.5"));
    window.showFromLauncher();

    // Save of the list as this window read it: the user keeps the posted balance.
    prompts->queueAnswer(Answer::Cancel);
    EXPECT_FALSE(window.cmdSave_Click());
    EXPECT_EQ(cellOnDisk(path, 2, 2), QStringLiteral("-170.5"));
    EXPECT_EQ(window.List1().GetItem(2, 2), QStringLiteral("-45.5"));

    // Read again, the window shows it, and then saves its own edits beside it without a question.
    prompts->queueAnswer(Answer::No);
    EXPECT_FALSE(window.cmdSave_Click());
    EXPECT_EQ(window.List1().GetItem(2, 2), QStringLiteral("-170.5"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Company [ Clients.QVC ]"));
    window.List1().ChangeItem(4, 1, QStringLiteral("Abrazija"));
    emit window.List1().GridKeyDown(65, 0, 4, 1);
    EXPECT_TRUE(window.cmdSave_Click());
    EXPECT_EQ(cellOnDisk(path, 2, 2), QStringLiteral("-170.5"));
    EXPECT_EQ(cellOnDisk(path, 4, 1), QStringLiteral("Abrazija"));
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));
}

} // namespace
} // namespace contactstest
