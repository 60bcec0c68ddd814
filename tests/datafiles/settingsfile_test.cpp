#include "datafiles/damagedfile.h"
#include "datafiles/datafoldertree.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "recordingshell.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "testfiles.h"
#include "writerspy.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace datafiles;
using namespace datafilestest;
using platform::Answer;
using testsupport::ScopedPrompts;
using testsupport::TempProgramFolder;

namespace {

const QString WelcomeText = QStringLiteral(
    " Welcome to Quorvane! Please take a moment and enter your Company Name, Address and other "
    "Information before beginning. ");

QStringList valuesOf(SettingsStore& store)
{
    QStringList values;
    for (const LineField& field : settingsLines(store))
        values << field.get();
    return values;
}

bool onShare(const QString& path)
{
    return path.startsWith(QLatin1String("//")) || path.contains(QLatin1String("/share/"));
}

// A distinct value for every line, of the kind the line holds.
QStringList distinctSettings()
{
    QStringList lines;
    for (int n = 1; n <= SettingsFileLines; ++n) {
        if (n == 2 || n == 47 || n == 48 || n == 61)
            lines << QString::number(n * 10 + 0.25);
        else if (n >= 63 && n <= 65)
            lines << (n == 63 ? "True" : "False");
        else if (n == 66 || n == 67)
            lines << (n == 66 ? "1" : "0");
        else if (n == 68 || n == 70)
            lines << QStringLiteral("//srv/share%1/Firma na PC.QVNET").arg(n);
        else if (n == 69 || n == 71)
            lines << QStringLiteral("//srv/share%1/").arg(n - 1);
        else
            lines << QStringLiteral("Vrednost %1 čšž").arg(n);
    }
    return lines;
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateDataFolders();
        store.setNetworkPathTest(onShare);
    }

    QString path() const { return settingsFilePath(); }
    void writeSettings(const QStringList& lines, bool scrambledAtRest = true)
    {
        const QByteArray plain = plainLines(lines);
        writeBytes(path(), scrambledAtRest ? scrambled(plain) : plain);
    }

    TempProgramFolder program;
    SettingsStore store;
    RecordingShell shell{store};
    ScopedPrompts prompts;
};

} // namespace

TEST_F(SettingsFileTest, SavesSeventyOneScrambledLinesInTheSysFolder)
{
    assignLines(settingsLines(store), distinctSettings());
    WriterSpy spy;
    ASSERT_TRUE(SaveSettingsFile(store));

    EXPECT_EQ(path(), program.filePath("System/RAzar/sys/0.dat"));
    const QByteArray stored = contentOf(path());
    EXPECT_EQ(stored.count("\x8D\x8A"), 71);
    EXPECT_TRUE(stored.endsWith("\x8D\x8A"));
    EXPECT_FALSE(stored.contains('\r') || stored.contains('\n'));
    EXPECT_EQ(scrambled(stored), plainLines(distinctSettings()));
    // One write of the final bytes: the file is never plain on disk, not even for a moment.
    ASSERT_EQ(spy.writes.size(), 1);
    EXPECT_EQ(spy.writes[0].bytes, stored);
}

TEST_F(SettingsFileTest, EveryFieldComesBack)
{
    assignLines(settingsLines(store), distinctSettings());
    ASSERT_EQ(valuesOf(store), distinctSettings());
    ASSERT_TRUE(SaveSettingsFile(store));

    SettingsStore loaded;
    RecordingShell loadedShell(loaded);
    loaded.setNetworkPathTest(onShare);
    EXPECT_EQ(LoadSettingsFile(loaded), LineFileReader::Status::Accepted);
    EXPECT_EQ(valuesOf(loaded), distinctSettings());
    EXPECT_TRUE(loadedShell.calls.isEmpty()); // single machine: no network start
    EXPECT_EQ(loaded.frmItemsfile1.BackColor.value(), RecentFileSlot::NextSlotColor);
}

TEST_F(SettingsFileTest, LinesAfterTheSeventyFirstAreIgnored)
{
    writeSettings(distinctSettings() + QStringList{"72", "73"});
    LoadSettingsFile(store);
    EXPECT_EQ(valuesOf(store), distinctSettings());
}

// A damaged file is still read line by line as far as it goes, but the user is told once
// which lines were damaged, and the file as found is kept beside it before the next save
// writes the store's values over it.
TEST_F(SettingsFileTest, ADamagedFileIsReadAsFarAsItGoesReportedAndKeptBeforeTheSave)
{
    struct Case {
        const char* what;
        QStringList lines;
        bool plain;
        QStringList damage; // what the message names
    };
    const QStringList full = distinctSettings();
    const Case cases[] = {
        {"cut short", {"2", "7000", "8000"}, false, {"it ends after line 3 of its 71 lines"}},
        {"no numbers", withLine(withLine(full, 47, "12a"), 48, ""), false,
         {"line 47 (Balance) holds \"12a\", which is not a number", "line 48 (InvoiceNumber) is empty"}},
        {"payment counter, found plain", withLine(full, 61, "x"), true,
         {"line 61 (PaymentNumber) holds \"x\", which is not a number"}},
        {"cut short after a bad balance", withLine(full, 47, "1.2.3").mid(0, 50), false,
         {"line 47 (Balance)", "it ends after line 50 of its 71 lines"}},
    };
    for (const Case& c : cases) {
        TempProgramFolder folder;
        CreateDataFolders();
        writeSettings(c.lines, !c.plain);
        const QByteArray found = contentOf(path());
        SettingsStore loaded;
        RecordingShell loadedShell(loaded);
        prompts->clear();
        prompts->queueAnswer(Answer::OK);

        EXPECT_EQ(LoadSettingsFile(loaded), LineFileReader::Status::Accepted) << c.what;
        // Read as ever: the lines it has, a number where one belongs.
        SettingsStore expected;
        assignLines(settingsLines(expected), c.lines);
        EXPECT_EQ(valuesOf(loaded), valuesOf(expected)) << c.what;

        ASSERT_EQ(prompts->recorded().size(), 1) << c.what;
        const QString text = prompts->recorded()[0].text;
        EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::Critical);
        EXPECT_TRUE(text.startsWith("The settings file \"" + path() + "\" is damaged: ")) << text.toStdString();
        for (const QString& damage : c.damage)
            EXPECT_TRUE(text.contains(damage)) << c.what << ": " << text.toStdString();
        const QString copy = path() + ".damaged";
        EXPECT_TRUE(text.endsWith("The file as it was found is kept as \"" + copy + "\".")) << text.toStdString();
        EXPECT_EQ(contentOf(copy), found) << c.what;

        ASSERT_TRUE(SaveSettingsFile(loaded));
        EXPECT_EQ(LineFileReader::linesOf(scrambled(contentOf(path()))).size(), SettingsFileLines);
        EXPECT_EQ(contentOf(copy), found) << c.what; // the save leaves the copy alone
    }
}

// An earlier copy of other damage is not written over; the same damage found again is kept
// once.
TEST_F(SettingsFileTest, EveryDamagedFileFoundKeepsACopyOfItsOwn)
{
    const QByteArray earlier = "an earlier damaged file";
    writeBytes(path() + ".damaged", earlier);
    writeSettings({"0", "6210"});
    const QByteArray found = contentOf(path());
    prompts->queueAnswer(Answer::OK);
    LoadSettingsFile(store);
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_TRUE(prompts->recorded()[0].text.contains(path() + ".damaged-2"));
    EXPECT_EQ(contentOf(path() + ".damaged"), earlier);
    EXPECT_EQ(contentOf(path() + ".damaged-2"), found);

    QString error;
    EXPECT_EQ(keepDamagedCopy(path(), found, error), path() + ".damaged-2");
    EXPECT_FALSE(QFile::exists(path() + ".damaged-3"));
}

TEST_F(SettingsFileTest, FirstRunShowsTheWelcomeAndKeepsTheInitialValues)
{
    program.writeFile("System/Temp/Temp.tmp", "ERROR");
    prompts->queueAnswer(Answer::OK);
    EXPECT_EQ(LoadSettingsFile(store), LineFileReader::Status::Missing);
    EXPECT_EQ(shell.calls, QStringList{"showWelcome"});
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(prompts->recorded()[0].text, WelcomeText);
    EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::Information);
    SettingsStore initial;
    EXPECT_EQ(valuesOf(store), valuesOf(initial));
    EXPECT_FALSE(QFile::exists(program.filePath("System/Temp/Temp.tmp")));
    EXPECT_FALSE(QFile::exists(path())); // a first run writes nothing

    // Closing at once writes the initial values; the next start is no first run.
    ASSERT_TRUE(SaveSettingsFile(store));
    SettingsStore next;
    RecordingShell nextShell(next);
    EXPECT_EQ(LoadSettingsFile(next), LineFileReader::Status::Accepted);
    EXPECT_TRUE(nextShell.calls.isEmpty());
    EXPECT_EQ(next.CompanyName.value(), "");
}

// The key line must be read in the state being tried: a file left plain is read whole on
// the second try, and no field ever holds the unreadable text of the first.
TEST_F(SettingsFileTest, APlainFileIsReadWholeAndScrambledAgain)
{
    writeSettings(distinctSettings(), false);
    QStringList seen;
    store.frmItemsWindowState.watch([&] { seen << store.frmItemsWindowState.value(); });

    EXPECT_EQ(LoadSettingsFile(store), LineFileReader::Status::Accepted);
    EXPECT_EQ(valuesOf(store), distinctSettings());
    EXPECT_EQ(seen, QStringList{"Vrednost 1 čšž"});
    EXPECT_EQ(contentOf(path()), scrambled(plainLines(distinctSettings())));
}

TEST_F(SettingsFileTest, AFileUnreadableInBothStatesLeavesStoreAndFileAsTheyWere)
{
    const QByteArray damaged = plainLines({"0", "not a height", "9060"});
    writeBytes(path(), damaged);
    prompts->queueAnswer(Answer::OK);
    WriterSpy spy;
    SettingsStore initial;

    EXPECT_EQ(LoadSettingsFile(store), LineFileReader::Status::Rejected);
    EXPECT_EQ(valuesOf(store), valuesOf(initial));
    EXPECT_EQ(contentOf(path()), damaged);
    EXPECT_TRUE(spy.writes.isEmpty());
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_TRUE(prompts->recorded()[0].text.contains(path()));
    // The next save writes the initial settings over it: it is kept beside it first.
    EXPECT_TRUE(prompts->recorded()[0].text.endsWith("kept as \"" + path() + ".damaged\"."));
    EXPECT_EQ(contentOf(path() + ".damaged"), damaged);
}

TEST_F(SettingsFileTest, AFileThatCannotBeOpenedLeavesTheInitialValues)
{
    program.makeFolder("System/RAzar/sys/0.dat");
    prompts->queueAnswer(Answer::OK);
    SettingsStore initial;
    EXPECT_EQ(LoadSettingsFile(store), LineFileReader::Status::Unreadable);
    EXPECT_EQ(valuesOf(store), valuesOf(initial));
    EXPECT_TRUE(shell.calls.isEmpty());
}

// Reading never changes the file: a read-only file reads as well as any, and nothing is
// written to read it.
TEST_F(SettingsFileTest, ReadingLeavesTheFileUntouched)
{
    writeSettings(distinctSettings());
    const QByteArray stored = contentOf(path());
    QFile::setPermissions(path(), QFileDevice::ReadOwner);
    WriterSpy spy;
    EXPECT_EQ(LoadSettingsFile(store), LineFileReader::Status::Accepted);
    EXPECT_EQ(valuesOf(store), distinctSettings());
    EXPECT_TRUE(spy.writes.isEmpty());
    EXPECT_EQ(contentOf(path()), stored);
}

TEST_F(SettingsFileTest, OptionLinesReadAsTrueFalseOrNumbers)
{
    struct Case {
        QStringList options;
        bool single, host, user;
    };
    const Case cases[] = {
        {{"True", "False", "False"}, true, false, false},
        {{"-1", "0", "0"}, true, false, false},
        {{"false", "0", "true"}, false, false, true},
        {{"0", "-1", "FALSE"}, false, true, false},
        {{"yes", "", "False"}, true, false, false}, // unreadable lines leave the option alone
    };
    for (const Case& c : cases) {
        SettingsStore loaded;
        QStringList lines = distinctSettings();
        for (int i = 0; i < 3; ++i)
            lines[62 + i] = c.options[i];
        assignLines(settingsLines(loaded), lines);
        EXPECT_EQ(loaded.OptionSingleMachine.value(), c.single) << c.options.join(',').toStdString();
        EXPECT_EQ(loaded.OptionHost.value(), c.host) << c.options.join(',').toStdString();
        EXPECT_EQ(loaded.OptionUser.value(), c.user) << c.options.join(',').toStdString();
    }
}

// Balances written with digit grouping are numbers: they load and save as they stand.
TEST_F(SettingsFileTest, GroupedNumbersSurviveALoadAndASave)
{
    QStringList lines = distinctSettings();
    lines[46] = "1,500.50";
    lines[47] = "1 500";
    lines[60] = "1.500,50";
    writeSettings(lines);
    LoadSettingsFile(store);
    EXPECT_EQ(store.Balance.value(), "1,500.50");
    EXPECT_EQ(store.InvoiceNumber.value(), "1 500");
    EXPECT_EQ(store.PaymentNumber.value(), "1.500,50");
    EXPECT_TRUE(prompts->recorded().isEmpty());
    ASSERT_TRUE(SaveSettingsFile(store));
    EXPECT_EQ(contentOf(path()), scrambled(plainLines(lines)));
}

TEST_F(SettingsFileTest, ALocalHostPathIsClearedAndTheProgramStartsAlone)
{
    const QString hostFile = program.writeFile("home/Firma.QVNET", HostLines().scrambledBytes());
    QStringList lines = distinctSettings();
    lines[62] = "False";
    lines[63] = "True";
    lines[67] = hostFile;
    lines[68] = program.filePath("home/");
    writeSettings(lines);
    LoadSettingsFile(store);
    EXPECT_EQ(store.MyHostName.value(), "");
    EXPECT_EQ(store.MyHostSystem.value(), "");
    EXPECT_TRUE(store.OptionSingleMachine.value());
    EXPECT_EQ(shell.calls, QStringList{"NemaNetwork"}); // and no message, no network start
}

TEST_F(SettingsFileTest, ALocalConnectedHostPathIsReportedAndEmptied)
{
    const QString hostFile = program.writeFile("home/Host.QVNET", HostLines().scrambledBytes());
    QStringList lines = distinctSettings();
    lines[62] = "False";
    lines[64] = "True";
    lines[69] = hostFile;
    lines[70] = program.filePath("home/");
    writeSettings(lines);
    prompts->queueAnswer(Answer::OK);
    LoadSettingsFile(store);
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_TRUE(prompts->recorded()[0].text.startsWith(hostFile + " Host is not located"));
    EXPECT_EQ(store.lblConnectedtohostname.value(), "");
    EXPECT_EQ(store.lblConnectedtohostsystem.value(), "");
    EXPECT_TRUE(store.OptionSingleMachine.value());
}

// A share that is not mounted at start: its mount point is an empty local folder. The
// network start reports the unreachable host and works alone, but the stored paths stay,
// and the next save keeps the network set-up for when the share is back.
TEST_F(SettingsFileTest, AHostOnAShareNotMountedKeepsItsPaths)
{
    store.setNetworkPathTest({}); // the machine's own mount table
    program.makeFolder("mnt/office");
    const QString hostFile = program.filePath("mnt/office/Firma.QVNET");
    const QString folder = program.filePath("mnt/office/");
    for (const bool user : {false, true}) {
        QStringList lines = distinctSettings();
        lines[62] = "False";
        lines[63] = user ? "False" : "True";
        lines[64] = user ? "True" : "False";
        lines[67] = user ? QString() : hostFile;
        lines[68] = user ? QString() : folder;
        lines[69] = user ? hostFile : QString();
        lines[70] = user ? folder : QString();
        writeSettings(lines);
        SettingsStore loaded;
        RecordingShell loadedShell(loaded);
        prompts->clear();
        prompts->queueAnswer(Answer::OK);

        LoadSettingsFile(loaded);
        EXPECT_EQ(prompts->texts(),
                  QStringList{"Quorvane was not able to access " + hostFile
                              + " and switched to a single user mode. Note that you must manually "
                                "switch back to " + (user ? "user" : "host")
                              + " mode once you successfully establish connection to " + hostFile
                              + " network drive"});
        EXPECT_TRUE(loaded.OptionSingleMachine.value());
        ASSERT_TRUE(SaveSettingsFile(loaded));
        const QStringList saved = LineFileReader::linesOf(scrambled(contentOf(path())));
        EXPECT_EQ(saved.mid(67, 4), lines.mid(67, 4)) << (user ? "user" : "host");
        EXPECT_EQ(saved.mid(62, 3), QStringList({"True", "False", "False"}));
    }
}

// A host whose users log in with its password: the one network start after line 71 reads
// the host file and asks for the password once; nothing is written while loading.
TEST_F(SettingsFileTest, HostModeStartsTheNetworkOnceAfterTheLastLine)
{
    const QString share = program.makeFolder("share");
    program.makeFolder("share/QVNET");
    const QString hostFile = share + "/Firma.QVNET";
    const QByteArray hostBytes = HostLines().set(14, "1").set(15, "1").scrambledBytes();
    writeBytes(hostFile, hostBytes);

    QStringList lines = distinctSettings();
    lines[62] = "0";
    lines[63] = "-1";
    lines[64] = "false";
    lines[65] = "0";
    lines[66] = "1";
    lines[67] = hostFile;
    lines[68] = share + "/";
    writeSettings(lines);
    WriterSpy spy;

    LoadSettingsFile(store);
    EXPECT_TRUE(store.OptionHost.value());
    EXPECT_EQ(store.Balance.value(), "1500.5");
    EXPECT_EQ(store.CheckReadWrite.Value.value(), 1);
    EXPECT_EQ(store.CheckUseMyPassword.Value.value(), 1);
    EXPECT_EQ(store.CURRENTPASSWORD.value(), "geslo");
    EXPECT_EQ(shell.calls, QStringList({"SHOWPASSWORD", "hideSettingsWindow", "showStartupWindow"}));
    EXPECT_TRUE(spy.writes.isEmpty());
    EXPECT_EQ(contentOf(hostFile), hostBytes);
}

TEST_F(SettingsFileTest, AFailedSaveIsReportedNamingTheFile)
{
    QDir(program.filePath("System/RAzar/sys")).removeRecursively();
    program.writeFile("System/RAzar/sys", "a file where the folder belongs");
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(SaveSettingsFile(store));
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_TRUE(prompts->recorded()[0].text.contains(path()));
    EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::Critical);
}
