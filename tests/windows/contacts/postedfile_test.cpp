// A company file that a posting has just written, shown by the contact window beside the
// posting window: docked at the left of the screen, read from disk as the posting left it.

#include "contactsfixture.h"

#include <QAction>
#include <QScreen>

namespace contactstest {
namespace {

constexpr int DockedWidthTwips = 5220;

// The usual way there: a contact handed to the transaction hides the window with its company,
// a posting changes the contact's balance, and the posting window has the file shown. The
// transactions window stands beside it, yet no transfer hint is shown for a posted file.
TEST_F(ContactsWindow, AHiddenCompanyIsShownDockedWithTheBalanceThePostingWrote)
{
    const QString path = openClients();
    window.List1().SelectItem(2, 1);
    ASSERT_TRUE(window.TransferFrom());
    ASSERT_TRUE(window.isHidden());
    postBalance(path, 2, QStringLiteral("-170.5"));
    prompts->clear();

    const windows::ControlPlace place = window.showPostedCompanyFile(path);
    EXPECT_TRUE(prompts->recorded().isEmpty()) << prompts->texts().join(", ").toStdString();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    EXPECT_EQ(window.width(), DockedWidthTwips / 15);
    EXPECT_EQ(place, (windows::ControlPlace{0, 0, DockedWidthTwips, window.height() * 15}));
    EXPECT_EQ(window.List1().GetItem(2, 2), QStringLiteral("-170.5"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Company [ Clients.QVC ]"));
    EXPECT_EQ(window.lblChangeStatus(), QStringLiteral("0"));

    // What the window shows now is what the file holds: the next Save writes without asking.
    window.List1().ChangeItem(4, 1, QStringLiteral("Abrazija"));
    EXPECT_TRUE(window.cmdSave_Click());
    EXPECT_TRUE(prompts->recorded().isEmpty()) << prompts->texts().join(", ").toStdString();
    EXPECT_EQ(cellOnDisk(path, 2, 2), QStringLiteral("-170.5"));
    EXPECT_EQ(cellOnDisk(path, 4, 1), QStringLiteral("Abrazija"));
}

// A window as high as the screen, docked after a posting, keeps its frame on the screen: the
// height it keeps is what the screen holds beside the frame.
TEST_F(ContactsWindow, ACompanyShownAfterAPostingStandsWhollyOnTheScreen)
{
    const QString path = openClients();
    const QRect area = window.screen()->availableGeometry();
    window.show();
    window.move(area.topLeft() + QPoint(200, 0));
    window.resize(700, area.height());
    postBalance(path, 2, QStringLiteral("-170.5"));
    prompts->clear();

    const windows::ControlPlace place = window.showPostedCompanyFile(path);
    const QRect frame = window.frameGeometry();
    EXPECT_TRUE(area.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_EQ(window.width(), DockedWidthTwips / 15);
    EXPECT_EQ(place, (windows::ControlPlace{window.x() * 15, window.y() * 15, DockedWidthTwips, window.height() * 15}));
}

// A maximised window is made normal to stand docked; another company shown that way is not
// one the user opened, so the recent files stay as they were.
TEST_F(ContactsWindow, AMaximisedWindowShowsAnotherCompanyDockedWithoutRecordingIt)
{
    const QString clients = openClients();
    const QString suppliers = contacts(QStringLiteral("Suppliers.QVC"));
    writeCompany(suppliers, {{"Lepko", "12"}});
    window.showMaximized();
    ASSERT_TRUE(window.isMaximized());

    const windows::ControlPlace place = window.showPostedCompanyFile(suppliers);
    EXPECT_FALSE(window.isMaximized());
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    EXPECT_EQ(place.Width, DockedWidthTwips);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Company [ Suppliers.QVC ]"));
    EXPECT_EQ(window.List1().GetItem(1, 2), QStringLiteral("12"));
    EXPECT_EQ(window.dialog().FileName, suppliers);
    EXPECT_EQ(program.store.frmContactsfile1.Caption.value(), clients);
    EXPECT_EQ(program.store.frmContactsfile2.Caption.value(), QString());
    EXPECT_FALSE(window.menu(QStringLiteral("file2"))->isVisible());
}

} // namespace
} // namespace contactstest
