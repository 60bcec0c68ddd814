// The settings window's Network page: creating a host and taking one's own over, connecting
// as a user, the host's switches, "Update Network", the fall-backs to single-machine mode,
// and a host and a user, each in its own program folder, sharing one folder.

#include "datafiles/datafilewriter.h"
#include "datafiles/machineidentity.h"
#include "grid/documents/documentlist.h"
#include "platform/vb.h"
#include "settingsfixture.h"
#include "shell/formnames.h"
#include "shell/hosttreecopy.h"
#include "support/environmentoverride.h"
#include "windows/document/documentwindow.h"

#include <QDir>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

using namespace shelltest;
using platform::Answer;
using testsupport::PromptKind;

namespace {

constexpr int ReadWriteLine = 14;
constexpr int UseMyPasswordLine = 15;

class NetworkTest : public SettingsTest {
protected:
    QString readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QStringLiteral("<none>");
    }
    // A host made elsewhere: its file and data folder in the share, with a balance of its own.
    QString foreignHost(const QString& share, const QString& balance)
    {
        datafiles::SettingsStore other;
        other.Balance = balance;
        other.CompanyName = QStringLiteral("Gostitelj d.o.o.");
        other.CheckReadWrite.Value = 1;
        other.MyHostName = share + QStringLiteral("Host.QVNET");
        EXPECT_TRUE(QDir().mkpath(share + QStringLiteral("QVNET/RAzar")));
        EXPECT_TRUE(datafiles::WriteHostFile(other));
        return other.MyHostName.value();
    }
    // The share goes away: the settings window, shown, tells so and falls back to working
    // alone, which turns the switches off. The share comes back, and the option of the mode
    // (Host or User) is chosen again on the Network page, without a word.
    void fallBackAndChooseAgain(const QString& share, QAbstractButton* option)
    {
        const QString away = share.chopped(1) + "-away";
        ASSERT_TRUE(QDir().rename(share, away));
        prompts.script().clear();
        prompts->queueAnswer(Answer::OK);
        program->showSettingsWindow();
        EXPECT_EQ(prompts->texts(), QStringList{NetworkMessage});
        ASSERT_TRUE(store().OptionSingleMachine.value());
        EXPECT_FALSE(settings().CheckReadWrite->isChecked());

        ASSERT_TRUE(QDir().rename(away, share));
        prompts.script().clear();
        settings().SSTab1->setCurrentIndex(shell::frmBalance::NetworkTab);
        option->click();
        EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join('|').toStdString();
    }
};

TEST_F(NetworkTest, ChoosingHostCreatesTheHostFolderCopiesTheDataTreeAndWritesTheHostFile)
{
    startWithCompany();
    folder.writeFile(QStringLiteral("System/RAzar/Items/Les.QVI"), "items");
    store().Balance = QStringLiteral("250");
    const QString share = shareFolder();
    const QString hostFile = createHost(share);

    ASSERT_EQ(prompts->recorded().size(), 1) << prompts->texts().join('|').toStdString();
    const testsupport::RecordedPrompt& dialog = prompts->recorded().first();
    EXPECT_EQ(dialog.kind, PromptKind::ShowSave);
    EXPECT_EQ(dialog.text, "Save Quorvane Network Host:");
    EXPECT_EQ(dialog.dialog.Filter, "QV Network Files (*.QVNET)|*.QVNET|");
    EXPECT_EQ(dialog.dialog.FileName, CompanyDetails.first() + " on " + datafiles::thisComputerName());
    EXPECT_TRUE(store().OptionHost.value());
    EXPECT_EQ(store().MyHostName.value(), hostFile);
    EXPECT_EQ(store().MyHostSystem.value(), share);
    EXPECT_TRUE(settings().CheckReadWrite->isEnabled());
    for (const char* sub : {"QVNET/Sound", "QVNET/RAzar", "QVNET/Temp", "QVNET/RAzar/Template/Item"})
        EXPECT_TRUE(QFileInfo(share + sub).isDir()) << sub;
    EXPECT_EQ(readFile(share + "QVNET/RAzar/Items/Les.QVI"), "items");
    const QStringList lines = hostLines(hostFile);
    ASSERT_EQ(lines.size(), datafiles::HostFileLines);
    EXPECT_EQ(lines[1], "250");
    EXPECT_EQ(lines[15], datafiles::thisUserNameOrUnknown());
    EXPECT_EQ(lines[17], datafiles::thisComputerName());
}

TEST_F(NetworkTest, ACancelledOrRefusedHostLeavesSingleMachineMode)
{
    startWithCompany();
    const QString share = shareFolder();
    // Cancel.
    showSettingsOn(shell::frmBalance::NetworkTab);
    prompts->queueSaveCancel();
    settings().OptionHost->click();
    EXPECT_TRUE(store().OptionSingleMachine.value());
    EXPECT_FALSE(QFileInfo::exists(share + "QVNET"));
    // A folder that already holds another host.
    QDir().mkpath(share + "QVNET");
    prompts.script().clear();
    prompts->queueSave(share + "Firma.QVNET");
    prompts->queueAnswer(Answer::OK);
    settings().OptionHost->click();
    EXPECT_EQ(prompts->texts().last(),
              "One QV host in this directory already exist. You can only have one QVNet host per one directory");
    EXPECT_TRUE(store().OptionSingleMachine.value());
    EXPECT_EQ(store().MyHostName.value(), "");
    EXPECT_EQ(store().MyHostSystem.value(), "");
    // A folder that is no network folder.
    store().setNetworkPathTest([](const QString&) { return false; });
    prompts.script().clear();
    prompts->queueSave(shareFolder("local") + "Firma.QVNET");
    prompts->queueAnswer(Answer::OK);
    settings().OptionHost->click();
    EXPECT_EQ(prompts->texts().last(), "Select from directories available at your network drives. ");
    EXPECT_TRUE(store().OptionSingleMachine.value());
    EXPECT_EQ(store().MyHostName.value(), "");
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("local/QVNET")));
}

TEST_F(NetworkTest, ThisMachinesOwnHostChosenAgainIsTakenOverAndFilledAgain)
{
    startWithCompany();
    const QString share = shareFolder();
    const QString hostFile = createHost(share);
    folder.writeFile(QStringLiteral("System/RAzar/Items/Les.QVI"), "newer");
    prompts.script().clear();
    prompts->queueSave(hostFile);
    click(settings().MyHostName);
    EXPECT_EQ(prompts->recorded().size(), 1);
    EXPECT_TRUE(store().OptionHost.value());
    EXPECT_EQ(store().lblisthissamehost.value(), "");
    EXPECT_EQ(readFile(share + "QVNET/RAzar/Items/Les.QVI"), "newer");
    EXPECT_EQ(hostLines(hostFile).size(), datafiles::HostFileLines);
}

// Taking this machine's own host over again copies its data over the share. Documents that
// users saved there since, newer than this machine's copies, are replaced only when the host
// says so; the question names how many there are and the newest, and No keeps them.
TEST_F(NetworkTest, TakingTheOwnHostOverAgainAsksBeforeNewerSharedDocumentsAreReplaced)
{
    const auto setAge = [](const QString& path, qint64 seconds) {
        const timespec when{std::time(nullptr) - seconds, 0};
        const timespec times[2] = {when, when};
        ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    };
    startWithCompany();
    const QString share = shareFolder();
    for (const char* name : {"Oak", "Elm", "Ash"})
        setAge(folder.writeFile(QStringLiteral("System/RAzar/Items/%1.QVI").arg(name),
                                QByteArray("the host's ") + name),
               2 * 24 * 3600);
    const QString hostFile = createHost(share);

    for (const Answer answer : {Answer::No, Answer::Yes}) {
        SCOPED_TRACE(answer == Answer::Yes ? "replaced" : "kept");
        setAge(folder.writeFile(QStringLiteral("share/QVNET/RAzar/Items/Oak.QVI"), "Oak a user saved"), 3600);
        setAge(folder.writeFile(QStringLiteral("share/QVNET/RAzar/Items/Elm.QVI"), "Elm a user saved"), 7200);
        const QString newest =
            platform::vb::GeneralDate(QFileInfo(share + "QVNET/RAzar/Items/Oak.QVI").lastModified());
        prompts.script().clear();
        prompts->queueSave(hostFile);
        prompts->queueAnswer(answer);
        click(settings().MyHostName);

        ASSERT_EQ(prompts->recorded().size(), 2) << prompts->texts().join('|').toStdString();
        const testsupport::RecordedPrompt& question = prompts->recorded()[1];
        EXPECT_EQ(question.style, platform::MsgStyle::YesNoQuestionNo);
        EXPECT_TRUE(question.text.contains("holds 2 files that are newer")) << question.text.toStdString();
        EXPECT_TRUE(question.text.contains("The newest is \"Items/Oak.QVI\", saved " + newest))
            << question.text.toStdString();
        const bool replaced = answer == Answer::Yes;
        EXPECT_EQ(readFile(share + "QVNET/RAzar/Items/Oak.QVI"), replaced ? "the host's Oak" : "Oak a user saved");
        EXPECT_EQ(readFile(share + "QVNET/RAzar/Items/Elm.QVI"), replaced ? "the host's Elm" : "Elm a user saved");
        EXPECT_EQ(readFile(share + "QVNET/RAzar/Items/Ash.QVI"), "the host's Ash");
        EXPECT_TRUE(store().OptionHost.value());
        EXPECT_EQ(hostLines(hostFile).size(), datafiles::HostFileLines);
    }
}

TEST_F(NetworkTest, AClickOnTheHostLabelOutsideHostModeNeverCopiesOverTheSharedTree)
{
    startWithCompany();
    const QString share = shareFolder();
    const QString hostFile = createHost(share);
    const QStringList published = hostLines(hostFile);
    // Going back to single-machine mode keeps the host's file and its path.
    settings().OptionSingleMachine->click();
    EXPECT_EQ(hostLines(hostFile), published);
    EXPECT_EQ(store().MyHostName.value(), hostFile);
    EXPECT_FALSE(settings().CheckReadWrite->isEnabled());
    folder.writeFile(QStringLiteral("share/QVNET/RAzar/Items/Shared.QVI"), "shared");
    folder.writeFile(QStringLiteral("System/RAzar/Items/Shared.QVI"), "local");
    prompts.script().clear();
    click(settings().MyHostName);
    EXPECT_TRUE(prompts->recorded().isEmpty());
    EXPECT_EQ(readFile(share + "QVNET/RAzar/Items/Shared.QVI"), "shared");
    EXPECT_TRUE(store().OptionSingleMachine.value());
}

TEST_F(NetworkTest, TheSwitchesAreWrittenToTheHostFileAndAFailedWriteIsReportedAndKeepsTheChoice)
{
    startWithCompany();
    const QString hostFile = createHost(shareFolder());
    prompts.script().clear();
    settings().CheckReadWrite->click();
    EXPECT_EQ(hostLines(hostFile)[ReadWriteLine - 1], "1");

    // A share whose host file can no longer be written.
    datafiles::setDataFileWriter([](const QString& path, const QByteArray&) {
        return datafiles::DataFileWrite{false, false, QStringLiteral("The file \"%1\" could not be written.").arg(path)};
    });
    prompts->queueAnswer(Answer::OK);
    settings().CheckReadWrite->click();
    datafiles::setDataFileWriter({});
    ASSERT_EQ(prompts->texts().size(), 1);
    EXPECT_TRUE(prompts->texts().first().contains(hostFile));
    EXPECT_FALSE(settings().CheckReadWrite->isChecked());
    EXPECT_EQ(store().CheckReadWrite.Value.value(), 0);
    EXPECT_TRUE(store().OptionHost.value());
    EXPECT_EQ(hostLines(hostFile)[ReadWriteLine - 1], "1");
}

TEST_F(NetworkTest, ProtectingWithoutAPasswordIsRefusedAndUnprotectingEmptiesThePassword)
{
    startWithCompany();
    const QString hostFile = createHost(shareFolder());
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    prompts->queueAnswer(Answer::OK);
    settings().CheckUseMyPassword->click();
    EXPECT_EQ(prompts->texts(), QStringList({"Your current password is empty. To create new password, select Password Tab",
                                             "Your host password security is disabled"}));
    EXPECT_EQ(prompts->recorded().last().style, platform::MsgStyle::Information);
    EXPECT_FALSE(settings().CheckUseMyPassword->isChecked());
    EXPECT_EQ(hostLines(hostFile)[UseMyPasswordLine - 1], "0");
    EXPECT_TRUE(store().OptionHost.value());
}

TEST_F(NetworkTest, AHostThatProtectsItsUsersCarriesANewPasswordToThemAndProtectsItselfAtOnce)
{
    startWithCompany(QStringLiteral("abc"));
    main().HIDEPASSWORD();
    const QString hostFile = createHost(shareFolder());
    prompts.script().clear();
    settings().CheckUseMyPassword->click();
    EXPECT_EQ(hostLines(hostFile)[UseMyPasswordLine - 1], "1");
    EXPECT_EQ(hostLines(hostFile)[10], "abc");
    // Read back, the switch puts this host behind its login prompt at once.
    EXPECT_FALSE(settings().isVisible());
    EXPECT_TRUE(main().txtpassword->isVisible());

    main().HIDEPASSWORD();
    showSettingsOn(shell::frmBalance::PasswordTab);
    settings().OldPassword->setText("abc");
    settings().NewPassword->setText("nova");
    settings().ConfirmNewPassword->setText("nova");
    prompts->queueAnswer(Answer::OK);
    settings().cmdSavePassword->click();
    EXPECT_EQ(prompts->texts(), QStringList{"New Password was successfully saved"});
    EXPECT_EQ(hostLines(hostFile)[10], "nova");
    EXPECT_EQ(settingsLine(56), "nova");
}

TEST_F(NetworkTest, AProtectionWhoseHostFileCannotBeWrittenIsNotReadBackOverTheUsersChoice)
{
    startWithCompany(QStringLiteral("abc"));
    main().HIDEPASSWORD();
    const QString hostFile = createHost(shareFolder());
    prompts.script().clear();
    datafiles::setDataFileWriter([](const QString& path, const QByteArray&) {
        return datafiles::DataFileWrite{false, false, QStringLiteral("The file \"%1\" could not be written.").arg(path)};
    });
    prompts->queueAnswer(Answer::OK);
    settings().CheckUseMyPassword->click();
    datafiles::setDataFileWriter({});
    ASSERT_EQ(prompts->texts().size(), 1);
    EXPECT_TRUE(prompts->texts().first().contains(hostFile));
    EXPECT_TRUE(settings().CheckUseMyPassword->isChecked());
    EXPECT_TRUE(settings().isVisible());
    EXPECT_FALSE(main().txtpassword->isVisible());
    EXPECT_EQ(store().CURRENTPASSWORD.value(), "abc");
}

TEST_F(NetworkTest, AHostWhoseDataCannotBeCopiedIsNoHost)
{
    startWithCompany();
    // A host folder inside the data tree itself would receive copies of its own copies.
    const QString inside = folder.makeFolder("System/RAzar/Items/share") + "/";
    showSettingsOn(shell::frmBalance::NetworkTab);
    prompts->queueSave(inside + "Firma.QVNET");
    prompts->queueAnswer(Answer::OK);
    settings().OptionHost->click();
    ASSERT_EQ(prompts->texts().size(), 2);
    EXPECT_TRUE(prompts->texts()[1].startsWith("Quorvane could not create the host in " + inside));
    EXPECT_TRUE(prompts->texts()[1].contains("cannot hold its copy"));
    EXPECT_TRUE(store().OptionSingleMachine.value());
    EXPECT_EQ(store().MyHostName.value(), "");
    EXPECT_FALSE(QFileInfo::exists(inside + "Firma.QVNET"));
    EXPECT_FALSE(QFileInfo::exists(inside + "QVNET/RAzar/Items"));
}

TEST_F(NetworkTest, ConnectingAsAUserReadsTheHostsValuesOrRefusesAMissingHost)
{
    startWithCompany();
    const QString share = shareFolder();
    const QString hostFile = foreignHost(share, QStringLiteral("980"));
    showSettingsOn(shell::frmBalance::NetworkTab);
    prompts->queueOpen(hostFile);
    settings().OptionUser->click();
    ASSERT_EQ(prompts->recorded().size(), 1) << prompts->texts().join('|').toStdString();
    EXPECT_EQ(prompts->recorded().first().text, "Open Quorvane Network Connection:");
    EXPECT_TRUE(store().OptionUser.value());
    EXPECT_EQ(store().lblConnectedtohostname.value(), hostFile);
    EXPECT_EQ(store().lblConnectedtohostsystem.value(), share);
    EXPECT_EQ(settings().Balance->text(), "980");
    EXPECT_EQ(settings().CompanyName->text(), "Gostitelj d.o.o.");
    EXPECT_FALSE(settings().CheckReadWrite->isEnabled());

    struct Case {
        QString path;
        const char* message;
    };
    const QString noFolder = shareFolder("bare") + "Host.QVNET";
    folder.writeFile("bare/Host.QVNET", "x");
    for (const Case& c : {Case{share + "Missing.QVNET", "Host don't exist or it can't be accessed"},
                          Case{noFolder, "QVNET host folder in this directory don't exist or it can't be accessed"}}) {
        settings().OptionSingleMachine->click();
        store().lblConnectedtohostname = QString();
        prompts.script().clear();
        prompts->queueOpen(c.path);
        prompts->queueAnswer(Answer::OK);
        settings().OptionUser->click();
        EXPECT_EQ(prompts->texts().last(), QString::fromLatin1(c.message));
        EXPECT_TRUE(store().OptionSingleMachine.value());
        EXPECT_EQ(store().lblConnectedtohostname.value(), "");
        EXPECT_EQ(store().lblConnectedtohostsystem.value(), "");
    }
}

TEST_F(NetworkTest, UpdateNetworkPublishesOnlyFromTheHostAndTellsAUserSo)
{
    startWithCompany();
    const QString share = shareFolder();
    const QString hostFile = foreignHost(share, QStringLiteral("10"));
    store().lblConnectedtohostname = hostFile;
    store().lblConnectedtohostsystem = share;
    store().OptionUser = true;
    showSettingsOn(shell::frmBalance::NetworkTab); // reads the host's switches
    store().CheckReadWrite.Value = 0;
    const QByteArray before = [&] { QFile f(hostFile); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    prompts->queueAnswer(Answer::OK);
    settings().CmdUpdateNetwork2->click();
    EXPECT_EQ(prompts->texts(),
              QStringList{"Network users are not allowed to edit files. Contact your network host for assistance."});
    // A user allowed to write does not write its own former host file either, and is told
    // that only the host publishes.
    store().CheckReadWrite.Value = 1;
    store().MyHostName = share + "Old.QVNET";
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    settings().CmdUpdateNetwork->click();
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_TRUE(prompts->texts().first().startsWith("Only the network host can update the network."));
    EXPECT_EQ(prompts->recorded().first().style, platform::MsgStyle::Information);
    EXPECT_FALSE(QFileInfo::exists(share + "Old.QVNET"));
    QFile f(hostFile);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

// The share of a protecting host that lets its users write goes away and comes back: the
// host fell back to working alone, which clears its switches on the screen, while its host
// file still holds both switches on.
TEST_F(NetworkTest, HostChosenAgainAfterAFallBackShowsTheSwitchesItsHostFileHolds)
{
    startWithCompany(QStringLiteral("abc"));
    main().HIDEPASSWORD();
    const QString share = shareFolder();
    const QString hostFile = createHost(share);
    settings().CheckReadWrite->click();
    settings().CheckUseMyPassword->click();
    main().HIDEPASSWORD(); // the host logs in again
    ASSERT_EQ(hostLines(hostFile)[ReadWriteLine - 1], "1");
    ASSERT_EQ(hostLines(hostFile)[UseMyPasswordLine - 1], "1");

    fallBackAndChooseAgain(share, settings().OptionHost);
    EXPECT_TRUE(store().OptionHost.value());
    EXPECT_TRUE(settings().CheckReadWrite->isChecked());
    EXPECT_TRUE(settings().CheckUseMyPassword->isChecked());
    EXPECT_TRUE(settings().CheckReadWrite->isEnabled());
    // Showing the switches wrote nothing and asked for no login.
    EXPECT_EQ(hostLines(hostFile)[ReadWriteLine - 1], "1");
    EXPECT_EQ(hostLines(hostFile)[UseMyPasswordLine - 1], "1");
    EXPECT_TRUE(settings().isVisible());
    EXPECT_FALSE(main().txtpassword->isVisible());
    // The next publication carries the switches as the host file held them.
    settings().CmdUpdateNetwork->click();
    EXPECT_EQ(hostLines(hostFile)[ReadWriteLine - 1], "1");
    EXPECT_EQ(hostLines(hostFile)[UseMyPasswordLine - 1], "1");
}

// The same for a user of a host, on another computer, that protects its users and lets them
// write: the share goes away and comes back, and the user chooses User again. The switches
// are the host file's at once, and a company list is saved into the share, not refused as
// from a network user who may not write.
TEST_F(NetworkTest, UserChosenAgainAfterAFallBackWorksByTheSwitchesOfTheHostFile)
{
    startWithCompany();
    const QString share = shareFolder();
    const QString hostFile = share + "Firma.QVNET";
    {
        ASSERT_TRUE(QDir().mkpath(share + "QVNET/RAzar/Contacts"));
        datafiles::SettingsStore host;
        takeFoldersForShares(host);
        host.CompanyName = QStringLiteral("Gostitelj d.o.o.");
        host.CURRENTPASSWORD = QStringLiteral("Skupno");
        host.CheckReadWrite.Value = 1;
        host.CheckUseMyPassword.Value = 1;
        host.MyHostName = hostFile;
        ASSERT_TRUE(datafiles::WriteHostFile(host));
    }
    showSettingsOn(shell::frmBalance::NetworkTab);
    prompts->queueOpen(hostFile);
    settings().OptionUser->click();
    ASSERT_TRUE(loginShown());
    typePassword(QStringLiteral("Skupno"));
    ASSERT_TRUE(launcherShown());
    ASSERT_EQ(store().CheckReadWrite.Value.value(), 1);

    fallBackAndChooseAgain(share, settings().OptionUser);
    ASSERT_TRUE(store().OptionUser.value());
    EXPECT_TRUE(settings().CheckReadWrite->isChecked());
    EXPECT_TRUE(settings().CheckUseMyPassword->isChecked());
    EXPECT_FALSE(settings().CheckReadWrite->isEnabled());
    // Logged in already: coming back asks for no login.
    EXPECT_TRUE(launcherShown());
    EXPECT_TRUE(settings().isVisible());
    EXPECT_EQ(hostLines(hostFile)[ReadWriteLine - 1], "1");

    click(main().lblContacts);
    shell::ProgramWindow* entry = program->windows().find(shell::FormName::Contacts);
    ASSERT_TRUE(entry);
    auto* contacts = static_cast<windows::DocumentWindow*>(&entry->form());
    contacts->List1().ChangeItem(1, 1, QStringLiteral("Kupec"));
    emit contacts->List1().GridKeyDown(65, 0, 1, 1);
    const QString saved = share + "QVNET/RAzar/Contacts/Kupci.QVC";
    prompts.script().clear();
    prompts->queueSave(saved);
    EXPECT_TRUE(contacts->cmdSave_Click());
    ASSERT_EQ(prompts->recorded().size(), 1) << prompts->texts().join('|').toStdString();
    EXPECT_EQ(prompts->recorded().first().kind, PromptKind::ShowSave);
    EXPECT_TRUE(QFileInfo::exists(saved));
}

TEST_F(NetworkTest, TheHostFileDialogsStartInTheFolderLastChosenForThemOrInTheHomeFolder)
{
    startWithCompany();
    const QString home = folder.makeFolder("home");
    testsupport::EnvironmentOverride homeOverride("HOME", home.toLocal8Bit());
    testsupport::EnvironmentOverride noPlaces("XDG_RUNTIME_DIR", QByteArray());
    showSettingsOn(shell::frmBalance::NetworkTab);
    const auto dialogFolderOf = [&](QAbstractButton* option) {
        prompts.script().clear();
        if (option == settings().OptionHost)
            prompts->queueSaveCancel();
        else
            prompts->queueOpenCancel();
        option->click();
        EXPECT_EQ(prompts->recorded().size(), 1) << prompts->texts().join('|').toStdString();
        return prompts->recorded().isEmpty() ? QStringLiteral("<no dialog>") : prompts->recorded().first().dialog.InitDir;
    };
    EXPECT_EQ(dialogFolderOf(settings().OptionHost), home);
    EXPECT_EQ(dialogFolderOf(settings().OptionUser), home);

    // A host made in one share and a host used in another: each dialog starts where it
    // chose last, also after both modes were left.
    const QString share = shareFolder();
    createHost(share);
    const QString other = shareFolder("other");
    const QString used = foreignHost(other, QStringLiteral("5"));
    prompts.script().clear();
    prompts->queueOpen(used);
    settings().OptionUser->click();
    ASSERT_TRUE(store().OptionUser.value());
    settings().OptionSingleMachine->click();
    store().MyHostName = QString();
    store().lblConnectedtohostname = QString();
    EXPECT_EQ(dialogFolderOf(settings().OptionHost), share);
    EXPECT_EQ(dialogFolderOf(settings().OptionUser), other);
}

TEST_F(NetworkTest, APageOfSharedValuesWithoutAReachableHostFallsBackToSingleMachine)
{
    startWithCompany();
    showSettingsOn(shell::frmBalance::NetworkTab);
    store().OptionHost = true;
    store().MyHostName = folder.filePath("gone/Firma.QVNET");
    store().MyHostSystem = folder.filePath("gone/");
    prompts->queueAnswer(Answer::OK);
    settings().SSTab1->setCurrentIndex(shell::frmBalance::BalanceTab);
    EXPECT_EQ(prompts->texts(), QStringList{NetworkMessage});
    EXPECT_TRUE(store().OptionSingleMachine.value());
    EXPECT_EQ(store().MyHostName.value(), folder.filePath("gone/Firma.QVNET"));
    // In single-machine mode a page change reads nothing.
    prompts.script().clear();
    settings().SSTab1->setCurrentIndex(shell::frmBalance::CompanyTab);
    EXPECT_TRUE(prompts->texts().isEmpty());
}

// Two installations in one test, each in its own program folder: one hosts a shared folder,
// the other connects to it as a user and reads what the host publishes.
TEST_F(NetworkTest, AValueChangedOnTheHostIsReadByTheUser)
{
    testsupport::TempProgramFolder userFolder;
    const QString hostFolder = folder.path();
    const QString share = shareFolder();
    std::unique_ptr<shell::Program> user;
    QString hostFile;
    {
        ProgramFolderScope scope(hostFolder);
        startWithCompany();
        folder.writeFile(QStringLiteral("System/RAzar/Contacts/Kupci.QVC"), "kupci");
        hostFile = createHost(share);
        settings().CheckReadWrite->click();
    }
    {
        ProgramFolderScope scope(userFolder.path());
        writeCompanySettings();
        user = std::make_unique<shell::Program>([] {});
        user->start();
        takeFoldersForShares(user->store());
        ASSERT_TRUE(QTest::qWaitFor([&] { return user->startupProbeDone(); }, 60000));
        user->showSettingsWindow();
        user->settingsWindow().SSTab1->setCurrentIndex(shell::frmBalance::NetworkTab);
        prompts.script().clear();
        prompts->queueOpen(hostFile);
        user->settingsWindow().OptionUser->click();
        EXPECT_TRUE(user->store().OptionUser.value());
        EXPECT_EQ(user->store().CheckReadWrite.Value.value(), 1);
        // The user's documents are the host's.
        EXPECT_EQ(datafiles::DataRoot(user->store()), share + "QVNET/RAzar/");
        EXPECT_TRUE(QFileInfo::exists(datafiles::DataRoot(user->store()) + "Contacts/Kupci.QVC"));
    }
    {
        ProgramFolderScope scope(hostFolder);
        prompts.script().clear();
        settings().SSTab1->setCurrentIndex(shell::frmBalance::BalanceTab);
        settings().Balance->selectAll();
        QTest::keyClicks(settings().Balance, QStringLiteral("4711.5"));
        settings().CmdUpdateNetwork->click();
        EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join('|').toStdString();
    }
    {
        ProgramFolderScope scope(userFolder.path());
        user->settingsWindow().SSTab1->setCurrentIndex(shell::frmBalance::BalanceTab);
        EXPECT_EQ(user->settingsWindow().Balance->text(), "4711.5");
        EXPECT_EQ(user->store().lblServerCreatedbyPC.value(), datafiles::thisComputerName());
        user.reset();
    }
}

// A machine that once hosted and now uses another host keeps its own former host file (its
// path stays in the settings). Readings of the host it uses bring that host's switches,
// balance and counters into the store; they must write no file, least of all the former
// host file, whose users' balance and counters they would overwrite.
TEST_F(NetworkTest, ReadingTheUsedHostWritesNoFileNotEvenThisMachinesFormerHostFile)
{
    const auto onShare = [](const QString&) { return true; };
    const QString oldShare = shareFolder("old");
    const QString oldHost = oldShare + "Old.QVNET";
    const QString share = shareFolder();
    const QString usedHost = share + "Host.QVNET";
    ASSERT_TRUE(QDir().mkpath(oldShare + "QVNET/RAzar"));
    ASSERT_TRUE(QDir().mkpath(share + "QVNET/RAzar"));
    const auto writeHost = [&](const QString& path, const QString& balance, const QString& invoice,
                               const QString& payment, int readWrite, int usePassword, const QString& password) {
        datafiles::SettingsStore s;
        s.setNetworkPathTest(onShare);
        s.Balance = balance;
        s.InvoiceNumber = invoice;
        s.PaymentNumber = payment;
        s.CompanyName = CompanyDetails.first();
        s.CURRENTPASSWORD = password;
        s.CheckReadWrite.Value = readWrite;
        s.CheckUseMyPassword.Value = usePassword;
        s.MyHostName = path;
        ASSERT_TRUE(datafiles::WriteHostFile(s));
    };
    // The former host: this machine's own values, both switches off.
    writeHost(oldHost, "555", "17", "9", 0, 0, QString());
    // The host used now lets its users write and protects them with its password.
    writeHost(usedHost, "980", "40", "12", 1, 1, "Skupno");
    {
        datafiles::CreateDataFolders();
        datafiles::SettingsStore s;
        s.setNetworkPathTest(onShare);
        fillCompanyDetails(s);
        s.MyHostName = oldHost;
        s.MyHostSystem = oldShare;
        s.lblConnectedtohostname = usedHost;
        s.lblConnectedtohostsystem = share;
        s.OptionUser = true;
        ASSERT_TRUE(datafiles::SaveSettingsFile(s));
    }
    const QString oldBefore = readFile(oldHost);
    const QString usedBefore = readFile(usedHost);

    // The network start reads the used host: both switches turn on, the login is asked.
    makeProgram();
    program->store().setNetworkPathTest(onShare);
    startProgram();
    waitForProbe();
    ASSERT_TRUE(store().OptionUser.value());
    EXPECT_EQ(store().CheckReadWrite.Value.value(), 1);
    EXPECT_EQ(store().CheckUseMyPassword.Value.value(), 1);
    EXPECT_EQ(store().Balance.value(), "980");
    ASSERT_TRUE(loginShown());
    typePassword("Skupno");
    ASSERT_TRUE(launcherShown());
    EXPECT_EQ(readFile(oldHost), oldBefore);
    EXPECT_EQ(readFile(usedHost), usedBefore);

    // The settings window reads it again when shown and on its Balance and Company pages,
    // shown with the switches it holds.
    program->showSettingsWindow();
    for (int tab : {shell::frmBalance::CompanyTab, shell::frmBalance::NetworkTab, shell::frmBalance::BalanceTab})
        settings().SSTab1->setCurrentIndex(tab);
    EXPECT_TRUE(settings().CheckReadWrite->isChecked());
    EXPECT_TRUE(settings().CheckUseMyPassword->isChecked());
    EXPECT_FALSE(settings().CheckReadWrite->isEnabled());

    // The host turns both switches off; the next reading turns them off here.
    writeHost(usedHost, "990", "41", "13", 0, 0, "Skupno");
    const QString usedNow = readFile(usedHost);
    settings().SSTab1->setCurrentIndex(shell::frmBalance::CompanyTab);
    settings().SSTab1->setCurrentIndex(shell::frmBalance::BalanceTab);
    EXPECT_EQ(settings().Balance->text(), "990");
    EXPECT_FALSE(settings().CheckReadWrite->isChecked());
    EXPECT_FALSE(settings().CheckUseMyPassword->isChecked());
    // The switches of a host used are the host's: the user cannot click them.
    for (QCheckBox* box : {settings().CheckReadWrite, settings().CheckUseMyPassword})
        click(box);
    EXPECT_EQ(store().CheckReadWrite.Value.value(), 0);
    EXPECT_EQ(store().CheckUseMyPassword.Value.value(), 0);

    EXPECT_TRUE(prompts->texts().isEmpty()) << prompts->texts().join('|').toStdString();
    EXPECT_EQ(readFile(oldHost), oldBefore);
    EXPECT_EQ(readFile(usedHost), usedNow);
    const QStringList old = hostLines(oldHost);
    ASSERT_EQ(old.size(), datafiles::HostFileLines);
    EXPECT_EQ(old.mid(1, 2), QStringList({"555", "17"}));
    EXPECT_EQ(old[11], "9");
}

// The same when a host becomes a user in the settings window: connecting reads the other
// host's switches into the boxes this host clicked before, and leaves this host's file alone.
TEST_F(NetworkTest, AHostThatConnectsToAnotherHostLeavesItsOwnHostFileAsItWas)
{
    startWithCompany();
    store().Balance = QStringLiteral("555");
    const QString ownHost = createHost(shareFolder("old"));
    const QString own = readFile(ownHost);
    const QString usedHost = foreignHost(shareFolder(), QStringLiteral("980"));
    prompts.script().clear();
    prompts->queueOpen(usedHost);
    settings().OptionUser->click();
    ASSERT_TRUE(store().OptionUser.value()) << prompts->texts().join('|').toStdString();
    EXPECT_EQ(store().MyHostName.value(), ownHost);
    EXPECT_TRUE(settings().CheckReadWrite->isChecked());
    EXPECT_EQ(settings().Balance->text(), "980");
    settings().SSTab1->setCurrentIndex(shell::frmBalance::BalanceTab);
    EXPECT_EQ(readFile(ownHost), own);
    EXPECT_EQ(hostLines(ownHost)[1], "555");
}

TEST(HostTreeCopyTest, ATreeOfManyFilesIsCopiedWhileTheWindowIsToldHowFarItCame)
{
    testsupport::TempProgramFolder folder;
    int files = 0;
    for (int d = 0; d < 6; ++d)
        for (int f = 0; f < 40; ++f, ++files)
            folder.writeFile(QStringLiteral("from/d%1/sub/f%2.QVI").arg(d).arg(f), QByteArray::number(f));
    int lastCopied = -1;
    int lastTotal = -1;
    int looks = 0;
    const platform::FileResult result =
        shell::HostTreeCopy::copy(folder.filePath("from"), folder.filePath("to"), nullptr, [&](int copied, int total) {
            EXPECT_GE(copied, lastCopied);
            lastCopied = copied;
            lastTotal = total;
            ++looks;
        });
    ASSERT_TRUE(result) << result.error.toStdString();
    EXPECT_GE(looks, 1);
    EXPECT_EQ(lastCopied, files);
    EXPECT_EQ(lastTotal, files);
    EXPECT_EQ(shell::HostTreeCopy::countFiles(folder.filePath("to")), files);
    QFile copy(folder.filePath("to/d5/sub/f39.QVI"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "39");
}

TEST(HostTreeCopyTest, ADestinationInsideTheSourceIsRefusedBeforeAnythingIsCopied)
{
    testsupport::TempProgramFolder folder;
    folder.writeFile(QStringLiteral("from/a.QVI"), "a");
    const platform::FileResult result =
        shell::HostTreeCopy::copy(folder.filePath("from"), folder.filePath("from/share/QVNET/RAzar"), nullptr);
    EXPECT_FALSE(result);
    EXPECT_TRUE(result.error.contains(folder.filePath("from/share/QVNET/RAzar")));
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("from/share")));
}

} // namespace
