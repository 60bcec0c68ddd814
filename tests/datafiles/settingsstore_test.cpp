#include "datafiles/settingsstore.h"
#include "recordingshell.h"
#include "platform/systeminfo.h"
#include "support/scopedprompts.h"

#include "support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace datafiles;
using datafilestest::RecordingShell;
using platform::Answer;
using testsupport::ScopedPrompts;

namespace {

bool startsWithTwoSlashes(const QString& path)
{
    return path.startsWith(QLatin1String("//"));
}

} // namespace

TEST(SettingsStore, StartsWithTheInitialValues)
{
    SettingsStore store;
    EXPECT_EQ(store.frmItemsHeight.value(), "6210");
    EXPECT_EQ(store.frmFileSearchWidth.value(), "4800");
    EXPECT_EQ(store.frmContactstoolbarchecked.value(), "True");
    EXPECT_EQ(store.Balance.value(), "0");
    EXPECT_EQ(store.PrintExcelFile.value(), "No");
    EXPECT_EQ(store.lblEXCELSTATUS.value(), "NERADI");
    EXPECT_TRUE(store.OptionSingleMachine.value());
    EXPECT_FALSE(store.OptionHost.value() || store.OptionUser.value());
    EXPECT_FALSE(store.CheckReadWrite.Enabled.value());
    EXPECT_EQ(store.frmItemsfile2.BackColor.value(), RecentFileSlot::NextSlotColor);
    EXPECT_EQ(store.networkMode(), NetworkMode::SingleMachine);
}

TEST(SettingsStore, NumbersOnlyFieldsBecomeZeroWithTheMessageOnlyWhereTheUserSeesThem)
{
    struct Case {
        QString text;
        bool visible;
        int tab;
        QString result;
        bool message;
    };
    const Case cases[] = {
        {"125.50", true, 0, "125.50", false},
        {" -3 ", true, 0, " -3 ", false},
        {"12a", false, 0, "0", false},
        {"", true, 0, "0", true},
        {"-", true, 1, "0", true},
        {"x", true, 4, "0", false},
    };
    for (TextField SettingsStore::*field :
         {&SettingsStore::Balance, &SettingsStore::InvoiceNumber, &SettingsStore::PaymentNumber}) {
        for (const Case& c : cases) {
            SettingsStore store;
            RecordingShell shell(store);
            shell.visible = c.visible;
            shell.tab = c.tab;
            ScopedPrompts prompts;
            if (c.message)
                prompts->queueAnswer(Answer::OK);
            (store.*field) = QStringLiteral("7");
            (store.*field) = c.text;
            EXPECT_EQ((store.*field).value(), c.result) << c.text.toStdString();
            EXPECT_EQ(prompts->texts(), c.message ? QStringList{"YOU CAN ENTER ONLY NUMBERS!"} : QStringList{});
        }
    }
}

TEST(SettingsStore, WatchersSeeOnlyRealChangesAndTheCorrectedValue)
{
    SettingsStore store;
    QStringList seen;
    store.Balance.watch([&] { seen << store.Balance.value(); });
    store.Balance = QStringLiteral("0"); // no change
    store.Balance = QStringLiteral("5");
    store.Balance = QStringLiteral("abc");
    EXPECT_EQ(seen, QStringList({"5", "0"}));
}

TEST(SettingsStore, OptionGroupKeepsOneModeAndEnablesTheSwitchesForHostOnly)
{
    SettingsStore store;
    store.OptionHost = true;
    EXPECT_FALSE(store.OptionSingleMachine.value());
    EXPECT_TRUE(store.CheckReadWrite.Enabled.value());
    EXPECT_TRUE(store.CheckUseMyPassword.Enabled.value());
    EXPECT_EQ(store.networkMode(), NetworkMode::Host);

    store.OptionUser = true;
    EXPECT_FALSE(store.OptionHost.value());
    EXPECT_FALSE(store.CheckReadWrite.Enabled.value());
    EXPECT_EQ(store.networkMode(), NetworkMode::User);

    store.OptionUser = false; // clearing runs nothing: no mode is selected now
    EXPECT_FALSE(store.OptionSingleMachine.value() || store.OptionHost.value() || store.OptionUser.value());
    EXPECT_EQ(store.networkMode(), NetworkMode::SingleMachine);
}

TEST(SettingsStore, SingleMachineModeKeepsTheHostPaths)
{
    SettingsStore store;
    store.setNetworkPathTest(startsWithTwoSlashes);
    store.OptionHost = true;
    store.CheckReadWrite.Value = 1;
    store.CheckUseMyPassword.Value = 1;
    store.MyHostName = QStringLiteral("//srv/share/Firm.QVNET");
    store.MyHostSystem = QStringLiteral("//srv/share/");
    store.lblConnectedtohostname = QStringLiteral("//srv/other/Host.QVNET");
    store.selectSingleMachineMode();
    EXPECT_TRUE(store.OptionSingleMachine.value());
    EXPECT_FALSE(store.OptionHost.value());
    EXPECT_EQ(store.CheckReadWrite.Value.value(), 0);
    EXPECT_EQ(store.CheckUseMyPassword.Value.value(), 0);
    EXPECT_FALSE(store.CheckUseMyPassword.Enabled.value());
    EXPECT_EQ(store.MyHostName.value(), "//srv/share/Firm.QVNET");
    EXPECT_EQ(store.MyHostSystem.value(), "//srv/share/");
    EXPECT_EQ(store.lblConnectedtohostname.value(), "//srv/other/Host.QVNET");
}

TEST(SettingsStore, ALocalHostFileIsClearedSilentlyWhileTheWindowIsHidden)
{
    QTemporaryDir local;
    const QString hostFile = local.filePath("Firm.QVNET");
    QFile(hostFile).open(QIODevice::WriteOnly);
    for (bool visible : {false, true}) {
        SettingsStore store;
        RecordingShell shell(store);
        shell.visible = visible;
        store.setNetworkPathTest(startsWithTwoSlashes);
        ScopedPrompts prompts;
        if (visible)
            prompts->queueAnswer(Answer::OK);
        store.OptionHost = true;
        store.MyHostSystem = local.path() + "/";
        store.MyHostName = hostFile;
        EXPECT_EQ(store.MyHostName.value(), "");
        EXPECT_EQ(store.MyHostSystem.value(), "");
        EXPECT_TRUE(store.OptionSingleMachine.value());
        EXPECT_EQ(shell.calls, QStringList{"NemaNetwork"});
        EXPECT_EQ(prompts->texts(), visible ? QStringList{"Select from directories available at your network drives. "}
                                            : QStringList{});
    }
}

// A host path that cannot be found (a share not mounted yet: the path is missing, or its
// mount point is an empty local folder) is never cleared: it is no proof of a local path.
// Only a new host file the user is choosing, not made yet, is judged by its folder.
TEST(SettingsStore, AHostPathThatCannotBeFoundIsKept)
{
    QTemporaryDir local;
    QDir().mkpath(local.filePath("mnt/office")); // an empty mount point
    struct Case {
        QString path;
        bool visible;
        bool kept;
    };
    const Case cases[] = {
        {local.filePath("mnt/office/Firm.QVNET"), false, true},
        {local.filePath("mnt/office/Data/Firm.QVNET"), false, true},
        {local.filePath("mnt/office/Data/Firm.QVNET"), true, true}, // no folder to judge
        {local.filePath("mnt/office/Firm.QVNET"), true, false},     // a new host in a local folder
    };
    for (const Case& c : cases) {
        for (bool user : {false, true}) {
            SettingsStore store;
            RecordingShell shell(store);
            shell.visible = c.visible;
            ScopedPrompts prompts;
            if (!c.kept)
                prompts->queueAnswer(Answer::OK);
            (user ? store.OptionUser : store.OptionHost) = true;
            TextField& name = user ? store.lblConnectedtohostname : store.MyHostName;
            TextField& folder = user ? store.lblConnectedtohostsystem : store.MyHostSystem;
            folder = QFileInfo(c.path).path() + "/";
            name = c.path;
            const std::string what = c.path.toStdString() + (user ? " as user" : " as host")
                + (c.visible ? ", window shown" : "");
            EXPECT_EQ(name.value(), c.kept ? c.path : QString()) << what;
            EXPECT_EQ(folder.value().isEmpty(), !c.kept) << what;
            EXPECT_EQ(store.OptionSingleMachine.value(), !c.kept) << what;
            EXPECT_EQ(prompts->recorded().size(), c.kept ? 0 : 1) << what;
        }
    }
}

TEST(SettingsStore, ALocalConnectedHostIsReportedEvenWhileTheWindowIsHidden)
{
    QTemporaryDir local;
    const QString hostFile = local.filePath("Host.QVNET");
    QFile(hostFile).open(QIODevice::WriteOnly);
    SettingsStore store;
    RecordingShell shell(store);
    store.setNetworkPathTest(startsWithTwoSlashes);
    ScopedPrompts prompts;
    prompts->queueAnswer(Answer::OK);
    store.OptionUser = true;
    store.lblConnectedtohostsystem = local.path() + "/";
    store.lblConnectedtohostname = hostFile;
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(prompts->recorded()[0].text,
              hostFile + " Host is not located on your Network or host file is corupted. "
              "QVNET switched to single mode. Note that you must manually switch back to network "
              "mode once you successfully host / establish connection to host");
    EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::Critical);
    EXPECT_EQ(store.lblConnectedtohostname.value(), "");
    EXPECT_EQ(store.lblConnectedtohostsystem.value(), "");
    EXPECT_TRUE(store.OptionSingleMachine.value());

    store.lblConnectedtohostname = QStringLiteral("//srv/share/Host.QVNET");
    EXPECT_EQ(store.lblConnectedtohostname.value(), "//srv/share/Host.QVNET");
    store.lblConnectedtohostname = QStringLiteral("0"); // "0" stands for no host
    EXPECT_EQ(store.lblConnectedtohostname.value(), "");
}

TEST(SettingsStore, WithoutAShellTheStandInChangesOnlyTheStore)
{
    SettingsStore store;
    store.OptionHost = true;
    store.shell().NemaNetwork();
    EXPECT_TRUE(store.OptionSingleMachine.value());
    store.shell().SaznaUserName();
    EXPECT_FALSE(store.lblUserName.value().isEmpty());
    store.shell().UPISEPCNAME();
    EXPECT_EQ(store.lblComputerName.value(), platform::computerName());
}
