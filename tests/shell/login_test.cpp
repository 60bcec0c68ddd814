// The login prompt shown again while the program runs, because the host asks its users to log
// in: the prompt holds no password, a protected host still reaches its own settings, and a
// refused login ends the program as closing it does, with "Save Changes?" for unsaved work.

#include "grid/documents/documentlist.h"
#include "settingsfixture.h"
#include "shell/formnames.h"
#include "support/controlfit.h"
#include "support/pinnedclock.h"
#include "windows/document/documentwindow.h"

#include <QDir>
#include <limits>

using namespace shelltest;
using platform::Answer;
namespace FormName = shell::FormName;

namespace {

const QString HostPassword = QStringLiteral("Skupno");
const QString NotValid = QStringLiteral("Your Password is not valid!");

bool onShare(const QString&)
{
    return true;
}

class LoginTest : public SettingsTest {
protected:
    QString share() const { return folder.filePath("share/"); }
    QString hostFile() const { return share() + QStringLiteral("Firma.QVNET"); }

    // The host, on another computer, writes its host file: users allowed to write, and its
    // password switch as given.
    void hostWrites(int protect)
    {
        QDir().mkpath(share() + QStringLiteral("QVNET/RAzar/Items"));
        datafiles::SettingsStore host;
        host.setNetworkPathTest(onShare);
        host.CompanyName = CompanyDetails.first();
        host.CURRENTPASSWORD = HostPassword;
        host.CheckReadWrite.Value = 1;
        host.CheckUseMyPassword.Value = protect;
        host.MyHostName = hostFile();
        ASSERT_TRUE(datafiles::WriteHostFile(host));
    }

    // This computer, connected to that host as a network user, starts.
    void startAsUser()
    {
        {
            datafiles::CreateDataFolders();
            datafiles::SettingsStore s;
            s.setNetworkPathTest(onShare);
            fillCompanyDetails(s);
            s.OptionUser = true;
            s.lblConnectedtohostname = hostFile();
            s.lblConnectedtohostsystem = share();
            ASSERT_TRUE(datafiles::SaveSettingsFile(s));
        }
        program.reset();
        endCalls = 0;
        makeProgram();
        takeFoldersForShares(store());
        startProgram();
        waitForProbe();
        ASSERT_TRUE(store().OptionUser.value());
    }

    shell::ProgramWindow* itemsEntry() const { return program->windows().find(FormName::Items); }

    // The user has a new item group typed, unsaved, when the host turns protection on; the
    // user opens the settings and meets the login.
    windows::DocumentWindow* unsavedGroupThenLogin()
    {
        hostWrites(0);
        startAsUser();
        EXPECT_TRUE(launcherShown());
        click(main().lblItems);
        EXPECT_TRUE(itemsEntry());
        if (!itemsEntry())
            return nullptr;
        auto* items = static_cast<windows::DocumentWindow*>(&itemsEntry()->form());
        items->List1().ChangeItem(1, 1, QStringLiteral("Hrastova deska"));
        emit items->List1().GridKeyDown(65, 0, 1, 1);
        EXPECT_EQ(items->lblChangeStatus(), QStringLiteral("1"));
        hostWrites(1);
        prompts.script().clear();
        click(main().lblBalance);
        EXPECT_TRUE(loginShown());
        return items;
    }

    // The prompt waits: no password can be typed or taken, and it says how long.
    bool loginWaits()
    {
        return !main().txtpassword->isEnabled() && !main().OKSecurity->isEnabled() && main().lblWait->isVisible();
    }
    bool loginTakesPasswords()
    {
        return main().txtpassword->isEnabled() && main().OKSecurity->isEnabled() && !main().lblWait->isVisible();
    }
    // The program's clock moves on; the prompt follows as its timer looks at the clock.
    bool waitEndsAfter(qint64 seconds)
    {
        clock.advanceSeconds(seconds);
        return QTest::qWaitFor([this] { return loginTakesPasswords(); }, 10000);
    }

    testsupport::PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
};

// Logged in once, the user meets the prompt again when the host turns protection on: the box
// is empty, so OK alone lets nobody in. Reading the host file again while the protection
// stays on asks nothing.
TEST_F(LoginTest, TheLoginShownAgainHoldsNoPasswordAndOkAloneLetsNobodyIn)
{
    hostWrites(1);
    startAsUser();
    ASSERT_TRUE(loginShown());
    typePassword(HostPassword);
    ASSERT_TRUE(launcherShown());

    // Still protected: the settings open and nothing is asked.
    click(main().lblBalance);
    EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join('|').toStdString();
    EXPECT_TRUE(launcherShown());
    EXPECT_TRUE(settings().isVisible());

    // Off, then on again.
    hostWrites(0);
    click(main().lblBalance);
    EXPECT_TRUE(launcherShown());
    EXPECT_EQ(store().CURRENTPASSWORD.value(), QString());
    hostWrites(1);
    click(main().lblBalance);
    ASSERT_TRUE(loginShown());
    EXPECT_FALSE(settings().isVisible());
    EXPECT_EQ(main().txtpassword->text(), QString());

    prompts->queueAnswer(Answer::Retry);
    click(main().OKSecurity);
    EXPECT_EQ(prompts->texts(), QStringList{NotValid});
    EXPECT_TRUE(loginShown());
    typePassword(HostPassword);
    EXPECT_TRUE(launcherShown());
    EXPECT_EQ(main().txtpassword->text(), QString());
    EXPECT_FALSE(program->ended());
}

// The host itself: logged in, it turns on "Protect with my password" and meets its own
// prompt, empty.
TEST_F(LoginTest, AHostTurningOnItsProtectionMeetsAnEmptyPrompt)
{
    startWithCompany(QStringLiteral("abc"));
    typePassword(QStringLiteral("abc"));
    ASSERT_TRUE(launcherShown());
    createHost(shareFolder());
    prompts.script().clear();
    settings().CheckUseMyPassword->click();
    ASSERT_TRUE(loginShown());
    EXPECT_EQ(main().txtpassword->text(), QString());

    prompts->queueAnswer(Answer::Retry);
    click(main().OKSecurity);
    EXPECT_EQ(prompts->texts(), QStringList{NotValid});
    EXPECT_TRUE(loginShown());
    typePassword(QStringLiteral("abc"));
    EXPECT_TRUE(launcherShown());
}

// A host with protection on, started and logged in, opens its settings as often as it likes
// and reaches the Network page, where it can turn the protection off.
TEST_F(LoginTest, AProtectedHostOpensItsOwnSettingsAndCanTurnTheProtectionOff)
{
    startWithCompany(QStringLiteral("abc"));
    typePassword(QStringLiteral("abc"));
    const QString hostFile = createHost(shareFolder());
    settings().CheckUseMyPassword->click();
    typePassword(QStringLiteral("abc"));
    main().close();
    ASSERT_TRUE(program->ended());

    program.reset();
    makeProgram();
    takeFoldersForShares(store());
    startProgram();
    waitForProbe();
    ASSERT_TRUE(store().OptionHost.value());
    ASSERT_EQ(store().CheckUseMyPassword.Value.value(), 1);
    ASSERT_TRUE(loginShown());
    prompts.script().clear();
    typePassword(QStringLiteral("abc"));
    ASSERT_TRUE(launcherShown());

    for (int time = 1; time <= 3; ++time) {
        SCOPED_TRACE(time);
        click(main().lblBalance);
        EXPECT_TRUE(settings().isVisible());
        EXPECT_TRUE(launcherShown());
        // The pages of shared values read the host file again.
        settings().SSTab1->setCurrentIndex(shell::frmBalance::CompanyTab);
        settings().SSTab1->setCurrentIndex(shell::frmBalance::BalanceTab);
        EXPECT_TRUE(settings().isVisible());
        EXPECT_TRUE(launcherShown());
        click(settings().closeButton);
        EXPECT_FALSE(settings().isVisible());
    }
    EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join('|').toStdString();

    click(main().lblBalance);
    settings().SSTab1->setCurrentIndex(shell::frmBalance::NetworkTab);
    prompts->queueAnswer(Answer::OK);
    settings().CheckUseMyPassword->click();
    EXPECT_EQ(prompts->texts(), QStringList{"Your host password security is disabled"});
    EXPECT_FALSE(settings().CheckUseMyPassword->isChecked());
    EXPECT_EQ(hostLines(hostFile)[14], "0");
    EXPECT_TRUE(settings().isVisible());
    EXPECT_TRUE(launcherShown());
}

// A user has a new item group typed when the host turns protection on; the user opens the
// settings and meets the login. Refusing it (Cancel at the wrong password, or the fifth
// wrong password) ends the program as closing it does: "Save Changes?" first, and Cancel
// there keeps the program running behind the prompt.
TEST_F(LoginTest, ARefusedLoginDuringTheRunAsksToSaveChangesBeforeTheProgramEnds)
{
    enum class Refusal { CancelAtWrongPassword, FifthWrongPassword };
    const struct {
        const char* name;
        Refusal refusal;
        Answer atSaveChanges;
        bool ends;
        bool saved;
    } cases[] = {
        {"Cancel at the wrong password, Cancel at Save Changes", Refusal::CancelAtWrongPassword, Answer::Cancel, false,
         false},
        {"Cancel at the wrong password, No at Save Changes", Refusal::CancelAtWrongPassword, Answer::No, true, false},
        {"Cancel at the wrong password, Yes at Save Changes", Refusal::CancelAtWrongPassword, Answer::Yes, true, true},
        {"the fifth wrong password, Cancel at Save Changes", Refusal::FifthWrongPassword, Answer::Cancel, false, false},
        {"the fifth wrong password, No at Save Changes", Refusal::FifthWrongPassword, Answer::No, true, false},
    };
    const QString saved = share() + QStringLiteral("QVNET/RAzar/Items/Deske.QVI");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(saved);
        hostWrites(0);
        startAsUser();
        ASSERT_TRUE(launcherShown());
        click(main().lblItems);
        ASSERT_TRUE(itemsEntry());
        auto* items = static_cast<windows::DocumentWindow*>(&itemsEntry()->form());
        items->List1().ChangeItem(1, 1, QStringLiteral("Hrastova deska"));
        emit items->List1().GridKeyDown(65, 0, 1, 1);
        ASSERT_EQ(items->lblChangeStatus(), QStringLiteral("1"));
        store().Item.ToolTipText = QStringLiteral("/forms/Mine.xls"); // a setting of this run

        hostWrites(1);
        prompts.script().clear();
        click(main().lblBalance);
        ASSERT_TRUE(loginShown());

        QStringList expected;
        if (c.refusal == Refusal::CancelAtWrongPassword) {
            prompts->queueAnswer(Answer::Cancel);
            expected << NotValid;
        } else {
            for (int i = 0; i < 5; ++i) {
                prompts->queueAnswer(Answer::Retry);
                expected << NotValid;
            }
            prompts->queueAnswer(Answer::OK);
            expected << QStringLiteral("Invalid Passwords!");
        }
        prompts->queueAnswer(c.atSaveChanges);
        expected << QStringLiteral("Save Changes?");
        if (c.atSaveChanges == Answer::Yes)
            prompts->queueSave(saved);
        const int attempts = c.refusal == Refusal::CancelAtWrongPassword ? 1 : 5;
        for (int i = 0; i < attempts && !program->ended(); ++i)
            typePassword(QStringLiteral("wrong%1").arg(i));

        EXPECT_EQ(prompts->texts().mid(0, expected.size()), expected);
        EXPECT_EQ(program->ended(), c.ends);
        EXPECT_EQ(endCalls, c.ends ? 1 : 0);
        EXPECT_EQ(QFile::exists(saved), c.saved);
        if (c.ends) {
            EXPECT_TRUE(program->windows().loaded().isEmpty());
            EXPECT_EQ(settingsLine(57), QStringLiteral("/forms/Mine.xls"));
            continue;
        }
        // Still running, behind an empty prompt, with the group as it was typed.
        EXPECT_TRUE(loginShown());
        EXPECT_EQ(main().txtpassword->text(), QString());
        ASSERT_EQ(itemsEntry() ? &itemsEntry()->form() : nullptr, items);
        EXPECT_EQ(items->lblChangeStatus(), QStringLiteral("1"));
        EXPECT_EQ(items->List1().GetItem(1, 1), QStringLiteral("Hrastova deska"));
        // The right password still lets the user back in; after the fifth failure only once
        // the prompt has waited.
        if (c.refusal == Refusal::FifthWrongPassword) {
            EXPECT_TRUE(loginWaits());
            EXPECT_TRUE(waitEndsAfter(30));
        }
        typePassword(HostPassword);
        EXPECT_TRUE(launcherShown());
        EXPECT_FALSE(program->ended());
    }
}

// A login that unsaved work keeps open can be tried again, but never the same count afresh:
// every wrong password counts, whether answered with Retry or Cancel, and from the fifth on
// the prompt waits before it takes the next one, twice as long each time, while the program
// goes on. The right password lets the user in once the wait is over, and the work is kept.
TEST_F(LoginTest, AfterTheFifthWrongPasswordEachFurtherAttemptWaitsLongerAndTheWorkIsKept)
{
    windows::DocumentWindow* items = unsavedGroupThenLogin();
    ASSERT_TRUE(items);
    const auto wrong = [this](Answer atNotValid) {
        prompts.script().clear();
        prompts->queueAnswer(atNotValid);
        if (atNotValid == Answer::Retry && main().FailedPasswordCount() >= 4)
            prompts->queueAnswer(Answer::OK); // "Invalid Passwords!"
        prompts->queueAnswer(Answer::Cancel); // "Save Changes?", asked whenever the program would end
        typePassword(QStringLiteral("guess"));
    };
    // Four wrong passwords, the second and fourth answered with Cancel and kept running by
    // the unsaved group: no wait yet.
    for (const Answer answer : {Answer::Retry, Answer::Cancel, Answer::Retry, Answer::Cancel}) {
        wrong(answer);
        ASSERT_TRUE(loginTakesPasswords());
    }
    EXPECT_EQ(main().FailedPasswordCount(), 4);
    wrong(Answer::Retry);
    EXPECT_EQ(prompts->texts(), QStringList({NotValid, "Invalid Passwords!", "Save Changes?"}));
    EXPECT_EQ(main().FailedPasswordCount(), 5);

    // The prompt waits 30 seconds and says so, counting down; the text is whole.
    ASSERT_TRUE(loginShown());
    ASSERT_TRUE(loginWaits());
    EXPECT_EQ(main().lblWait->text(), "Too many wrong passwords. Please wait 30 seconds before you try again.");
    EXPECT_EQ(testsupport::cutCaptions({main().lblWait}), QStringList());
    EXPECT_EQ(testsupport::overlappingControls({main().lblPlease, main().txtpassword, main().OKSecurity,
                                                main().CancelSecurity, main().ImageKey, main().lblWait}),
              QStringList());
    clock.advanceSeconds(21);
    EXPECT_TRUE(QTest::qWaitFor([this] { return main().lblWait->text().contains("wait 9 seconds"); }, 10000))
        << main().lblWait->text().toStdString();
    // The right password is not taken while it waits, however it is given.
    prompts.script().clear();
    typePassword(HostPassword);
    main().txtpassword->setText(HostPassword);
    click(main().OKSecurity);
    emit main().txtpassword->returnPressed();
    EXPECT_TRUE(loginWaits());
    EXPECT_FALSE(launcherShown());
    EXPECT_TRUE(prompts->texts().isEmpty());
    // A clock set back does not make the wait longer than it was.
    clock.advanceSeconds(-3600);
    EXPECT_TRUE(QTest::qWaitFor([this] { return main().lblWait->text().contains("wait 30 seconds"); }, 10000))
        << main().lblWait->text().toStdString();
    EXPECT_TRUE(waitEndsAfter(30));

    // Each further failure, answered either way, waits twice as long as the one before.
    const struct {
        Answer atNotValid;
        qint64 wait;
        const char* shown;
    } further[] = {
        {Answer::Retry, 60, "60 seconds"},
        {Answer::Cancel, 120, "2 minutes"},
        {Answer::Retry, 240, "4 minutes"},
    };
    for (const auto& f : further) {
        SCOPED_TRACE(f.wait);
        const int before = main().FailedPasswordCount();
        wrong(f.atNotValid);
        EXPECT_EQ(main().FailedPasswordCount(), before + 1);
        ASSERT_TRUE(loginWaits());
        EXPECT_TRUE(main().lblWait->text().contains(QString::fromLatin1(f.shown))) << main().lblWait->text().toStdString();
        clock.advanceSeconds(f.wait - 1);
        EXPECT_TRUE(QTest::qWaitFor([this] { return main().lblWait->text().contains("wait 1 second before"); }, 10000))
            << main().lblWait->text().toStdString();
        EXPECT_TRUE(loginWaits());
        EXPECT_TRUE(waitEndsAfter(1));
    }

    // In at last, with the group as it was typed.
    prompts.script().clear();
    typePassword(HostPassword);
    EXPECT_TRUE(launcherShown());
    EXPECT_TRUE(prompts->texts().isEmpty());
    EXPECT_FALSE(program->ended());
    ASSERT_EQ(itemsEntry() ? &itemsEntry()->form() : nullptr, items);
    EXPECT_EQ(items->lblChangeStatus(), QStringLiteral("1"));
    EXPECT_EQ(items->List1().GetItem(1, 1), QStringLiteral("Hrastova deska"));
}

// The waits double up to a day, and stay there however many more failures come.
TEST(LoginWaitTest, TheWaitDoublesUpToADay)
{
    const struct {
        int failures;
        qint64 seconds;
        const char* shown;
    } cases[] = {
        {0, 0, nullptr},           {4, 0, nullptr},
        {5, 30, "30 seconds"},     {6, 60, "60 seconds"},
        {7, 120, "2 minutes"},     {11, 1920, "32 minutes"},
        {12, 3840, "64 minutes"},  {13, 7680, "3 hours"},
        {16, 61440, "18 hours"},   {17, 86400, "24 hours"},
        {1000, 86400, "24 hours"}, {std::numeric_limits<int>::max(), 86400, "24 hours"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failures);
        const std::chrono::seconds wait = shell::LoginWait::after(c.failures);
        EXPECT_EQ(wait.count(), c.seconds);
        if (c.shown) {
            EXPECT_EQ(shell::LoginWait::text(wait.count()),
                      QStringLiteral("Too many wrong passwords. Please wait %1 before you try again.")
                          .arg(QString::fromLatin1(c.shown)));
        }
    }
}

} // namespace
