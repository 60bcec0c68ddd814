#include "datafiles/datafoldertree.h"
#include "datafiles/hostfile.h"
#include "datafiles/linefilereader.h"
#include "datafiles/settingsstore.h"
#include "platform/vb.h"
#include "support/qtprinters.h"
#include "recordingshell.h"
#include "support/pinnedclock.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "testfiles.h"
#include "writerspy.h"

#include <gtest/gtest.h>

using namespace datafiles;
using namespace datafilestest;
using platform::Answer;
using testsupport::PinnedClock;
using testsupport::ScopedPrompts;
using testsupport::TempProgramFolder;

namespace {

const QString PermissionText = QStringLiteral(
    "In order to host multi-user service in one network directory, Quorvane must be able to write "
    "to this directory.  You currently don't have permission to write to selected network "
    "directory. ");

QString unreachable(const QString& path, const QString& mode)
{
    return "Quorvane was not able to access " + path
        + " and switched to a single user mode. Note that you must manually switch back to " + mode
        + " mode once you successfully establish connection to " + path + " network drive";
}

bool onShare(const QString& path)
{
    return path.contains(QLatin1String("/share/"));
}

class HostFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateDataFolders();
        program.makeFolder("share/QVNET/RAzar");
        store.setNetworkPathTest(onShare);
        becomeHost(store);
    }

    QString share() const { return program.filePath("share/"); }
    QString hostFile() const { return program.filePath("share/Firma.QVNET"); }

    void becomeHost(SettingsStore& s) const
    {
        s.setNetworkPathTest(onShare);
        s.OptionHost = true;
        s.MyHostName = hostFile();
        s.MyHostSystem = share();
    }
    void becomeUser(SettingsStore& s) const
    {
        s.setNetworkPathTest(onShare);
        s.OptionUser = true;
        s.lblConnectedtohostname = hostFile();
        s.lblConnectedtohostsystem = share();
    }

    TempProgramFolder program;
    PinnedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0, 0))};
    SettingsStore store;
    RecordingShell shell{store};
    ScopedPrompts prompts;
};

} // namespace

TEST_F(HostFileTest, WrittenOnceScrambledAndReadBackByAUser)
{
    store.Balance = QStringLiteral("1500.5");
    store.InvoiceNumber = QStringLiteral("42");
    store.CompanyName = QStringLiteral("Žaga d.o.o.");
    store.CompanyAddress = QStringLiteral("Cesta 1");
    store.CompanyCity = QStringLiteral("Celje");
    store.CompanyZip = QStringLiteral("3000");
    store.CompanyEMail = QStringLiteral("info@zaga.si");
    store.CompanyFax = QStringLiteral("03 111");
    store.CompanyPhone = QStringLiteral("03 222");
    store.CURRENTPASSWORD = QStringLiteral("geslo");
    store.PaymentNumber = QStringLiteral("17");
    store.CheckReadWrite.Value = 1;
    store.CheckUseMyPassword.Value = 1;
    WriterSpy spy;

    ASSERT_TRUE(WriteHostFile(store));
    const QByteArray stored = contentOf(hostFile());
    ASSERT_EQ(spy.writes.size(), 1);
    EXPECT_EQ(spy.writes[0].bytes, stored);
    EXPECT_EQ(stored.count("\x8D\x8A"), HostFileLines);
    const QStringList lines = LineFileReader::linesOf(scrambled(stored));
    ASSERT_EQ(lines.size(), HostFileLines);
    EXPECT_EQ(lines[0], HostMarker);
    EXPECT_EQ(lines.mid(1, 14),
              QStringList({"1500.5", "42", "Žaga d.o.o.", "Cesta 1", "Celje", "3000", "info@zaga.si",
                           "03 111", "03 222", "geslo", "17", "", "1", "1"}));
    EXPECT_EQ(lines[15], "tester");
    EXPECT_EQ(lines[16], platform::vb::GeneralDate(clock.when()));
    EXPECT_EQ(lines[17], "TESTPC");

    SettingsStore user;
    RecordingShell userShell(user);
    becomeUser(user);
    ASSERT_TRUE(ReadHostFile(user));
    for (TextField SettingsStore::*field :
         {&SettingsStore::Balance, &SettingsStore::InvoiceNumber, &SettingsStore::CompanyName,
          &SettingsStore::CompanyAddress, &SettingsStore::CompanyCity, &SettingsStore::CompanyZip,
          &SettingsStore::CompanyEMail, &SettingsStore::CompanyFax, &SettingsStore::CompanyPhone,
          &SettingsStore::CURRENTPASSWORD, &SettingsStore::PaymentNumber})
        EXPECT_EQ((user.*field).value(), (store.*field).value());
    EXPECT_EQ(user.CheckReadWrite.Value.value(), 1);
    EXPECT_EQ(user.CheckUseMyPassword.Value.value(), 1);
    EXPECT_EQ(user.lblUserName.value(), "tester");
    EXPECT_EQ(user.lblServerCreationDate.value(), lines[16]);
    EXPECT_EQ(user.lblServerCreatedbyPC.value(), "TESTPC");
    EXPECT_TRUE(user.OptionUser.value());
    EXPECT_EQ(userShell.calls, QStringList({"SHOWPASSWORD", "hideSettingsWindow", "showStartupWindow"}));
    EXPECT_EQ(contentOf(hostFile()), stored); // reading changes nothing
}

TEST_F(HostFileTest, PasswordSwitchOffEmptiesThePasswordEvenWhenTheFileHoldsOne)
{
    writeBytes(hostFile(), HostLines().set(11, "geslo").set(15, "0").scrambledBytes());
    store.CURRENTPASSWORD = QStringLiteral("old");
    ASSERT_TRUE(ReadHostFile(store));
    EXPECT_EQ(store.CURRENTPASSWORD.value(), "");
    EXPECT_TRUE(shell.calls.isEmpty());
}

TEST_F(HostFileTest, AFileThatIsNotAHostFileMeansSingleMachineSilently)
{
    store.CheckReadWrite.Value = 1;
    const QByteArray cases[] = {
        HostLines().set(1, "This is not QVNET file").scrambledBytes(),
        plainLines(HostLines().lines), // a host file left plain is not accepted either
        scrambled(plainLines({HostMarker})), // cut short after the marker
    };
    for (const QByteArray& bytes : cases) {
        becomeHost(store);
        writeBytes(hostFile(), bytes);
        WriterSpy spy;
        EXPECT_FALSE(ReadHostFile(store));
        EXPECT_TRUE(store.OptionSingleMachine.value());
        EXPECT_FALSE(store.CheckReadWrite.Enabled.value());
        EXPECT_FALSE(store.CheckUseMyPassword.Enabled.value());
        EXPECT_EQ(store.CheckReadWrite.Value.value(), 1); // the switches keep their values
        EXPECT_EQ(store.Balance.value(), "0");
        EXPECT_EQ(contentOf(hostFile()), bytes);
        EXPECT_TRUE(spy.writes.isEmpty());
    }
    EXPECT_TRUE(shell.calls.isEmpty());
}

TEST_F(HostFileTest, HostModeWithoutAHostFileNameEndsAloneWithoutAMessage)
{
    store.MyHostName = QString();
    EXPECT_FALSE(ReadHostFile(store));
    EXPECT_TRUE(store.OptionSingleMachine.value());
    EXPECT_TRUE(shell.calls.isEmpty());
}

TEST_F(HostFileTest, AnUnreachableHostFileOrDataFolderIsReportedWithItsPath)
{
    struct Case {
        bool user;
        bool fileThere;
        QString mode;
    };
    const Case cases[] = {{false, false, "host"}, {false, true, "host"}, {true, false, "user"}, {true, true, "user"}};
    for (const Case& c : cases) {
        TempProgramFolder other;
        const QString path = other.filePath("share/Firma.QVNET");
        const QByteArray bytes = HostLines().scrambledBytes();
        if (c.fileThere)
            writeBytes(path, bytes); // but no QVNET folder beside it
        SettingsStore s;
        RecordingShell sh(s);
        s.setNetworkPathTest(onShare);
        (c.user ? s.OptionUser : s.OptionHost) = true;
        (c.user ? s.lblConnectedtohostname : s.MyHostName) = path;
        (c.user ? s.lblConnectedtohostsystem : s.MyHostSystem) = other.filePath("share/");
        prompts->clear();
        prompts->queueAnswer(Answer::OK);

        EXPECT_FALSE(ReadHostFile(s));
        ASSERT_EQ(prompts->recorded().size(), 1);
        EXPECT_EQ(prompts->recorded()[0].text, unreachable(path, c.mode));
        EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::Critical);
        EXPECT_EQ(sh.calls, QStringList{"NemaNetwork"});
        EXPECT_TRUE(s.OptionSingleMachine.value());
        if (c.fileThere) {
            EXPECT_EQ(contentOf(path), bytes);
        }
    }
}

// Values the reading assigns by code (the two switches) never write or re-read the host
// file: one reading, one login prompt, no write.
TEST_F(HostFileTest, TheReadingAssignsTheSwitchesWithoutTouchingTheHostFile)
{
    const QByteArray bytes = HostLines().set(14, "1").set(15, "1").scrambledBytes();
    writeBytes(hostFile(), bytes);
    WriterSpy spy;
    ASSERT_TRUE(ReadHostFile(store));
    EXPECT_EQ(store.CheckReadWrite.Value.value(), 1);
    EXPECT_EQ(store.CheckUseMyPassword.Value.value(), 1);
    EXPECT_TRUE(store.OptionHost.value());
    EXPECT_EQ(shell.calls, QStringList({"SHOWPASSWORD", "hideSettingsWindow", "showStartupWindow"}));
    store.selectSingleMachineMode(); // the switches back to 0 by code
    EXPECT_TRUE(spy.writes.isEmpty());
    EXPECT_EQ(contentOf(hostFile()), bytes);
}

// The host file is read again by the settings window and around every posting; the login is
// asked for when the password switch is found turned on, not at every reading while it stays
// on. A reading that finds it off empties the password, and the next one that finds it on
// asks again.
TEST_F(HostFileTest, TheLoginIsAskedForOnlyWhenThePasswordSwitchTurnsOn)
{
    const struct {
        const char* switchLine;
        bool asks;
        const char* password; // after the reading
    } readings[] = {
        {"1", true, "geslo"}, {"1", false, "geslo"}, {"1", false, "geslo"},
        {"0", false, ""},     {"1", true, "geslo"},  {"1", false, "geslo"},
    };
    for (const auto& r : readings) {
        SCOPED_TRACE(std::string("line 15 ") + r.switchLine + (r.asks ? ", asks" : ", does not ask"));
        writeBytes(hostFile(), HostLines().set(11, "geslo").set(15, r.switchLine).scrambledBytes());
        shell.calls.clear();
        ASSERT_TRUE(ReadHostFile(store));
        EXPECT_EQ(shell.calls.contains("SHOWPASSWORD"), r.asks);
        EXPECT_EQ(shell.calls.contains("hideSettingsWindow"), r.asks);
        EXPECT_EQ(store.CURRENTPASSWORD.value(), QString::fromLatin1(r.password));
    }
}

// A shared balance or counter that is no number still becomes "0", but the host file as
// found is kept beside it before a posting writes over it, and the user is told once, not
// at every reading.
TEST_F(HostFileTest, ANonNumericSharedBalanceBecomesZeroAndIsReportedOnce)
{
    const QByteArray damaged = HostLines().set(2, "abc").set(3, "").set(12, "1 7").scrambledBytes();
    writeBytes(hostFile(), damaged);
    prompts->queueAnswer(Answer::OK);
    ASSERT_TRUE(ReadHostFile(store));
    EXPECT_EQ(store.Balance.value(), "0");
    EXPECT_EQ(store.InvoiceNumber.value(), "0");
    EXPECT_EQ(store.PaymentNumber.value(), "0");
    EXPECT_EQ(store.CompanyName.value(), "Firma d.o.o.");
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(prompts->recorded()[0].text,
              "The host file \"" + hostFile() + "\" is damaged: line 2 (Balance) holds \"abc\", which "
              "is not a number; line 3 (InvoiceNumber) is empty; line 12 (PaymentNumber) holds "
              "\"1 7\", which is not a number. Quorvane has read the rest of it; what could not be "
              "read is replaced when the file is next written. The file as it was found is kept as \""
                  + hostFile() + ".damaged\".");
    EXPECT_EQ(contentOf(hostFile() + ".damaged"), damaged);
    EXPECT_EQ(contentOf(hostFile()), damaged);

    ASSERT_TRUE(ReadHostFile(store)); // the same damage again: not told twice
    EXPECT_EQ(prompts->recorded().size(), 1);
    ASSERT_TRUE(WriteHostFile(store));
    EXPECT_EQ(contentOf(hostFile() + ".damaged"), damaged);

    // A host file cut short is damaged too.
    const QByteArray shortFile = scrambled(plainLines(HostLines().lines.mid(0, 12)));
    writeBytes(hostFile(), shortFile);
    prompts->queueAnswer(Answer::OK);
    ASSERT_TRUE(ReadHostFile(store));
    ASSERT_EQ(prompts->recorded().size(), 2);
    EXPECT_TRUE(prompts->recorded()[1].text.contains("it ends after line 12 of its 18 lines"));
    EXPECT_EQ(contentOf(hostFile() + ".damaged-2"), shortFile);
}

// A switch line that is neither 0 nor 1 is told as damage and written back as it was found,
// so that the host's password outlives the next writing and the readings after it; once the
// host sets the switch, the switch is written as set.
TEST_F(HostFileTest, ADamagedSwitchLineIsToldAndNeverWrittenBackAsOff)
{
    const struct {
        int line;
        const char* found;
        const char* told;
    } cases[] = {
        {15, "x", "line 15 (CheckUseMyPassword) holds \"x\", which is neither \"0\" nor \"1\""},
        {15, "2", "line 15 (CheckUseMyPassword) holds \"2\", which is neither \"0\" nor \"1\""},
        {15, "", "line 15 (CheckUseMyPassword) is empty"},
        {14, "yes", "line 14 (CheckReadWrite) holds \"yes\", which is neither \"0\" nor \"1\""},
        {15, " 0", "line 15 (CheckUseMyPassword) holds \" 0\", which is neither \"0\" nor \"1\""},
        {15, "-0", "line 15 (CheckUseMyPassword) holds \"-0\", which is neither \"0\" nor \"1\""},
        {15, "0.4", "line 15 (CheckUseMyPassword) holds \"0.4\", which is neither \"0\" nor \"1\""},
        {14, "0.6", "line 14 (CheckReadWrite) holds \"0.6\", which is neither \"0\" nor \"1\""},
    };
    const auto storedLine = [this](int n) { return LineFileReader::linesOf(scrambled(contentOf(hostFile()))).value(n - 1); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.told);
        const QByteArray damaged = HostLines().set(11, "geslo").set(c.line, c.found).scrambledBytes();
        writeBytes(hostFile(), damaged);
        prompts->queueAnswer(Answer::OK);
        ASSERT_TRUE(ReadHostFile(store));
        ASSERT_EQ(prompts->recorded().size(), 1);
        EXPECT_EQ(prompts->recorded()[0].text,
                  "The host file \"" + hostFile() + "\" is damaged: " + c.told
                      + ". Quorvane has read the rest of it. A switch that is neither \"0\" nor \"1\" is kept as it is in "
                        "the file until it is set again in the settings window. The file as it was found is kept as \""
                      + hostFile() + ".damaged\".");
        const bool passwordSwitch = c.line == 15;
        if (passwordSwitch) {
            EXPECT_EQ(store.CURRENTPASSWORD.value(), "geslo");
        }

        ASSERT_TRUE(WriteHostFile(store));
        EXPECT_EQ(storedLine(c.line), c.found);
        if (contentOf(hostFile()) != damaged)
            prompts->queueAnswer(Answer::OK); // the same damage in a file written anew is told again
        ASSERT_TRUE(ReadHostFile(store));
        if (passwordSwitch) {
            EXPECT_EQ(store.CURRENTPASSWORD.value(), "geslo");
        }

        // The host sets the switch: it is written as set.
        StoreField<int>& value = passwordSwitch ? store.CheckUseMyPassword.Value : store.CheckReadWrite.Value;
        const int set = 1 - value.value();
        value = set;
        ASSERT_TRUE(WriteHostFile(store));
        EXPECT_EQ(storedLine(c.line), QString::number(set));
        prompts.script().clear();
        QFile::remove(hostFile() + ".damaged");
    }
}

// A host file cut short before its switch lines says nothing of the switches; the store's
// values are not the host's. As with a switch line that is damaged, they are told, and the
// next writing does not put them there as the host's: the lines are written empty, not as
// off, so that the host's password outlives the writing and the readings after it. Once the
// host sets a switch, it is written as set.
TEST_F(HostFileTest, AHostFileCutShortBeforeItsSwitchesIsNotWrittenBackWithThemOff)
{
    const QByteArray cut = scrambled(plainLines(HostLines().set(15, "1").lines.mid(0, 12)));
    writeBytes(hostFile(), cut);
    prompts->queueAnswer(Answer::OK);
    ASSERT_TRUE(ReadHostFile(store));
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(prompts->recorded()[0].text,
              "The host file \"" + hostFile() + "\" is damaged: it ends after line 12 of its 18 lines. Quorvane has "
              "read the rest of it; what could not be read is replaced when the file is next written. A switch whose "
              "line is missing is not taken as off: its line is written empty until the switch is set again in the "
              "settings window. The file as it was found is kept as \"" + hostFile() + ".damaged\".");
    EXPECT_EQ(store.CURRENTPASSWORD.value(), "geslo");
    EXPECT_EQ(store.CheckUseMyPassword.Value.value(), 0);

    const auto storedLines = [this] { return LineFileReader::linesOf(scrambled(contentOf(hostFile()))); };
    ASSERT_TRUE(WriteHostFile(store));
    QStringList written = storedLines();
    ASSERT_EQ(written.size(), HostFileLines);
    EXPECT_EQ(written.mid(10, 5), QStringList({"geslo", "17", "", "", ""}));
    prompts->queueAnswer(Answer::OK); // the empty switch lines are told
    ASSERT_TRUE(ReadHostFile(store));
    ASSERT_EQ(prompts->recorded().size(), 2);
    EXPECT_TRUE(prompts->recorded()[1].text.contains(
        "line 14 (CheckReadWrite) is empty; line 15 (CheckUseMyPassword) is empty"))
        << prompts->recorded()[1].text.toStdString();
    EXPECT_EQ(store.CURRENTPASSWORD.value(), "geslo");

    store.CheckUseMyPassword.Value = 1;
    ASSERT_TRUE(WriteHostFile(store));
    written = storedLines();
    EXPECT_EQ(written.value(13), "");
    EXPECT_EQ(written.value(14), "1");

    // A host that comes back to Host mode takes only the switches from its file: one cut short
    // before them leaves them unset there as well.
    writeBytes(hostFile(), cut);
    SettingsStore back;
    RecordingShell backShell(back);
    becomeHost(back);
    ASSERT_TRUE(ReadHostSwitches(back));
    ASSERT_TRUE(WriteHostFile(back));
    EXPECT_EQ(storedLines().mid(13, 2), QStringList({"", ""}));

    // A host file made anew elsewhere has nothing of the cut one to keep: it holds the switches
    // as they are set.
    const QString fresh = share() + "Nova.QVNET";
    back.MyHostName = fresh;
    ASSERT_TRUE(WriteHostFile(back));
    EXPECT_EQ(LineFileReader::linesOf(scrambled(contentOf(fresh))).mid(13, 2), QStringList({"0", "0"}));
}

TEST_F(HostFileTest, APermissionFailureShowsTheHostingMessageAndFallsBack)
{
    WriterSpy spy;
    spy.failure = DataFileWrite{false, true, "The file could not be written: Permission denied."};
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(WriteHostFile(store));
    EXPECT_EQ(prompts->texts(), QStringList{PermissionText});
    EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::Critical);
    EXPECT_TRUE(store.OptionSingleMachine.value());
    EXPECT_TRUE(shell.calls.contains("NemaNetwork"));
    EXPECT_EQ(store.MyHostName.value(), hostFile()); // the host paths stay
}

TEST_F(HostFileTest, AnyOtherWriteFailureIsReportedNamingTheFile)
{
    const QString blocker = program.writeFile("share/blocker", "a file");
    store.MyHostName = blocker + "/Firma.QVNET";
    prompts->queueAnswer(Answer::OK);
    EXPECT_FALSE(WriteHostFile(store));
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_TRUE(prompts->recorded()[0].text.contains(blocker + "/Firma.QVNET"));
    EXPECT_TRUE(store.OptionHost.value());

    store.MyHostName = QString(); // nothing to write, nothing to say
    EXPECT_FALSE(WriteHostFile(store));
    EXPECT_EQ(prompts->recorded().size(), 1);
}

TEST_F(HostFileTest, CheckSameHostTakesBackOnlyThisMachinesOwnHostFile)
{
    writeBytes(hostFile(), HostLines().set(11, "mine").set(14, "1").set(15, "0").scrambledBytes());
    store.CURRENTPASSWORD = QStringLiteral("current");
    CheckSameHost(store);
    EXPECT_EQ(store.lblisthissamehost.value(), "YES");
    EXPECT_EQ(store.CheckReadWrite.Value.value(), 1);
    EXPECT_EQ(store.CURRENTPASSWORD.value(), ""); // line 15 "0": no password
}

// Another user's or another computer's host file: refused before anything of it is taken.
TEST_F(HostFileTest, CheckSameHostTakesNothingFromAForeignHostFile)
{
    struct Case {
        int line;
        QString value;
        QString message;
    };
    const Case cases[] = {
        {16, "someone", " Your (user) name is not matching this host name"},
        {18, "OTHERPC", " Computer name is not matching this hosts computer name"},
    };
    for (const Case& c : cases) {
        writeBytes(hostFile(), HostLines().set(11, "theirs").set(14, "1").set(15, "1").set(c.line, c.value).scrambledBytes());
        store.CURRENTPASSWORD = QStringLiteral("mine");
        store.lblisthissamehost = QString();
        shell.calls.clear();
        prompts->clear();
        prompts->queueAnswer(Answer::OK);

        CheckSameHost(store);
        EXPECT_EQ(prompts->texts(), QStringList{c.message});
        EXPECT_EQ(store.CURRENTPASSWORD.value(), "mine");
        EXPECT_EQ(store.CheckReadWrite.Value.value(), 0);
        EXPECT_EQ(store.CheckUseMyPassword.Value.value(), 0);
        EXPECT_FALSE(shell.calls.contains("SHOWPASSWORD"));
        EXPECT_EQ(store.lblisthissamehost.value(), "");
    }
}

TEST_F(HostFileTest, CheckSameHostIgnoresMissingAndForeignFiles)
{
    CheckSameHost(store); // no file
    const QByteArray notHost = scrambled(plainLines({"something else"}));
    writeBytes(hostFile(), notHost);
    store.lblisthissamehost = QStringLiteral("YES");
    CheckSameHost(store);
    EXPECT_EQ(store.lblisthissamehost.value(), "YES");
    EXPECT_EQ(contentOf(hostFile()), notHost);
    EXPECT_TRUE(shell.calls.isEmpty());
}
