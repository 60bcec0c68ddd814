// Column 2 of a contact company holds each contact's balance, which the postings change in
// the file itself. A company open in this window while a posting changes it is never written
// back over the posting unasked: Save keeps the posted balance beside the user's own edits,
// and asks first where the user changed that balance too or where the contact's row no longer
// holds the contact.

#include "contactsfixture.h"

namespace contactstest {
namespace {

using platform::Answer;

QString changedQuestion(const QString& path, const QString& middle)
{
    return path + QStringLiteral(" was changed on disk after this window read it: a posting or another computer has "
                                 "written it") + middle
        + QStringLiteral(". No reads the file again, and the changes made here are lost. Cancel saves nothing.");
}

TEST_F(ContactsWindow, ABalancePostedWhileTheCompanyIsOpenIsKeptBesideTheUsersEdits)
{
    const QString path = openClients();
    prompts->clear();
    window.List1().ChangeItem(4, 1, QStringLiteral("Abrazija"));
    postBalance(path, 2, QStringLiteral("-170.5"));

    EXPECT_TRUE(window.cmdSave_Click());
    EXPECT_TRUE(prompts->recorded().isEmpty()) << prompts->recorded().last().text.toStdString();
    EXPECT_EQ(cellOnDisk(path, 2, 2), QStringLiteral("-170.5"));
    EXPECT_EQ(cellOnDisk(path, 4, 1), QStringLiteral("Abrazija"));
    EXPECT_EQ(cellOnDisk(path, 1, 2), QStringLiteral("120"));
    EXPECT_EQ(window.List1().GetItem(2, 2), QStringLiteral("-170.5"));
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));

    // The posted balance is not the user's change: undo takes back the user's edit only, and
    // the file as written is the one the next save compares with.
    window.cmdUndo_Click();
    EXPECT_EQ(window.List1().GetItem(4, 1), QString());
    EXPECT_EQ(window.List1().GetItem(2, 2), QStringLiteral("-170.5"));
    EXPECT_TRUE(window.cmdSave_Click());
    EXPECT_EQ(cellOnDisk(path, 2, 2), QStringLiteral("-170.5"));
    EXPECT_EQ(cellOnDisk(path, 4, 1), QString());
}

// Where the list cannot take the posted balance over, the question names it, and the answer
// decides: Yes writes the list as it is, No reads the file again, Cancel writes nothing.
TEST_F(ContactsWindow, ABalanceTheListCannotTakeOverIsNamedBeforeAnythingIsWritten)
{
    struct Case {
        const char* name;
        std::function<void(grid::DocumentList&)> edit; // the user's, before the posting
        QString middle;                                 // of the question
        Answer answer;
        QString balanceOnDisk;                           // of Brankar Timber, row 2 on disk
        QString rowTwoOnScreen;                          // column 1 of row 2 afterwards
    };
    const QString yes = QStringLiteral(". Yes writes this list over it, and what was written there is lost, those "
                                       "balances too");
    const Case cases[] = {
        {"the user changed the balance too",
         [](grid::DocumentList& list) { list.ChangeItem(2, 2, QStringLiteral("-50")); },
         QStringLiteral(", and changed the balance of Brankar Timber on row 2 from -45.5 to -170.5, where this list "
                        "holds -50") + yes,
         Answer::Yes, QStringLiteral("-50"), QStringLiteral("Brankar Timber")},
        {"the user removed the row above",
         [](grid::DocumentList& list) { list.RemoveItem(1); },
         QStringLiteral(", and changed the balance of Brankar Timber on row 2 from -45.5 to -170.5, where this list "
                        "no longer has Brankar Timber") + yes,
         Answer::Cancel, QStringLiteral("-170.5"), QStringLiteral("Lepko")},
        {"the user renamed the contact",
         [](grid::DocumentList& list) { list.ChangeItem(2, 1, QStringLiteral("Brankar")); },
         QStringLiteral(", and changed the balance of Brankar Timber on row 2 from -45.5 to -170.5, where this list "
                        "no longer has Brankar Timber") + yes,
         Answer::No, QStringLiteral("-170.5"), QStringLiteral("Brankar Timber")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = openClients();
        prompts->clear();
        c.edit(window.List1());
        postBalance(path, 2, QStringLiteral("-170.5"));
        prompts->queueAnswer(c.answer);
        EXPECT_EQ(window.cmdSave_Click(), c.answer == Answer::Yes);
        ASSERT_EQ(prompts->recorded().size(), 1);
        EXPECT_EQ(prompts->recorded().last().text, changedQuestion(path, c.middle));
        EXPECT_EQ(prompts->recorded().last().style, 547);
        EXPECT_EQ(cellOnDisk(path, 2, 2), c.balanceOnDisk);
        EXPECT_EQ(window.List1().GetItem(2, 1), c.rowTwoOnScreen);
        EXPECT_EQ(window.lblChangeStatus(), c.answer == Answer::Cancel ? QStringLiteral("1") : QStringLiteral("0"));
        window.setlblChangeStatus(QStringLiteral("0")); // the next case starts afresh without a question
        window.NEWLIST();
    }
}

// Someone saved the company elsewhere and a posting moved a balance too: the question says
// that Yes keeps the balances, and it does.
TEST_F(ContactsWindow, ASaveElsewhereBesideAPostingAsksAndYesKeepsTheBalances)
{
    const QString path = openClients();
    prompts->clear();
    window.List1().ChangeItem(4, 1, QStringLiteral("Abrazija"));
    writeCompany(path, {{"Adria Tours", "120"},
                        {"Brankar Timber", "-170.5"},
                        {"Lepko d.d.", "0"},
                        {"", ""},
                        {"Okov d.o.o.", "310"}});
    prompts->queueAnswer(Answer::Yes);
    EXPECT_TRUE(window.cmdSave_Click());
    EXPECT_EQ(prompts->recorded().last().text,
              changedQuestion(path, QStringLiteral(". Yes writes this list over it, and what was written there is "
                                                   "lost, apart from the balances changed there, which are kept")));
    EXPECT_EQ(cellOnDisk(path, 2, 2), QStringLiteral("-170.5"));
    EXPECT_EQ(cellOnDisk(path, 3, 1), QStringLiteral("Lepko"));
    EXPECT_EQ(cellOnDisk(path, 4, 1), QStringLiteral("Abrazija"));
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));
}

} // namespace
} // namespace contactstest
