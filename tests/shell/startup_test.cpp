// The start-up order: the first run with its welcome frame, the company details, the login
// prompt, the ends without settings, and the spreadsheet probe.

#include "datafiles/hostfile.h"
#include "datafiles/postinglock.h"
#include "platform/safefile.h"
#include "posting/postingjournal.h"
#include "programfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QRadioButton>
#include <QTest>

#include <sys/inotify.h>
#include <unistd.h>

using namespace shelltest;
using platform::Answer;
using testsupport::PromptKind;

namespace {

const QString ThankYouStart = QStringLiteral("Thank you! Please read our help file's step by step topic.");

// A short wait for the posting lock, for a test where another holder keeps it.
class PostingLockTiming {
public:
    PostingLockTiming()
    {
        datafiles::PostingLock::Timing timing;
        timing.waitMs = 100;
        datafiles::PostingLock::setTiming(timing);
    }
    ~PostingLockTiming() { datafiles::PostingLock::setTiming({}); }
};

class StartupTest : public ProgramTest {
protected:
    // This machine as the host of a host file on the test's share, named Kos; the data
    // folders are made.
    void setUpHost(datafiles::SettingsStore& host, const QString& hostFile)
    {
        datafiles::CreateDataFolders();
        host.setNetworkPathTest([](const QString&) { return true; });
        host.CompanyName = QStringLiteral("Kos");
        host.OptionHost = true;
        host.MyHostName = hostFile;
        host.MyHostSystem = folder.filePath("share/");
    }
    // That host's settings and host file written, and a Contacts folder in its shared folder.
    void writeHost(const QString& hostFile)
    {
        QDir().mkpath(datafiles::HostDataFolder(hostFile) + QStringLiteral("/RAzar/Contacts"));
        datafiles::SettingsStore host;
        setUpHost(host, hostFile);
        ASSERT_TRUE(datafiles::WriteHostFile(host));
        ASSERT_TRUE(datafiles::SaveSettingsFile(host));
    }
    void fillWelcome(const QStringList& values)
    {
        const QList<QLineEdit*> fields = main().Welcome->companyFields();
        for (int i = 0; i < fields.size(); ++i)
            fields[i]->setText(values.value(i));
    }
    QStringList details() const
    {
        return {QStringLiteral("Mizarstvo Kos d.o.o."), QStringLiteral("Cesta 5"), QStringLiteral("Kranj"),
                QStringLiteral("4000"), QStringLiteral("info@kos.example"), QStringLiteral("04 111 222"),
                QStringLiteral("04 111 333")};
    }
};

TEST_F(StartupTest, FirstRunShowsItsMessageAndTheWelcomeFrameBeforeTheWindowAndWritesNothing)
{
    bool windowShownAtMessage = true;
    makeProgram();
    prompts->queueAnswer([&](const testsupport::RecordedPrompt&) {
        windowShownAtMessage = main().isVisible();
        return Answer::OK;
    });
    startProgram();

    ASSERT_EQ(prompts->texts(), QStringList{FirstRunMessage});
    EXPECT_EQ(prompts->recorded().first().style, platform::MsgStyle::Information);
    EXPECT_FALSE(windowShownAtMessage);
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Main Menu"));
    EXPECT_TRUE(main().Welcome->isVisible());
    EXPECT_TRUE(launcherShown());
    EXPECT_FALSE(program->settingsWindow().isVisible());
    EXPECT_FALSE(settingsExist());
    // The probe waits for the window, then starts the spreadsheet program and quits it.
    EXPECT_TRUE(spreadsheet->calls.isEmpty());
    waitForProbe();
    EXPECT_EQ(spreadsheet->calls, (QStringList{"start", "visible off", "alerts off", "quit"}));
    EXPECT_EQ(program->store().lblEXCELSTATUS.value(), QStringLiteral("RADI"));
    EXPECT_EQ(prompts->texts().size(), 1);
}

TEST_F(StartupTest, CompanyDetailsEnteredReachTheSettingsFileAndTheNextStartHasNoWelcome)
{
    prompts->queueAnswer(Answer::OK); // first run
    startProgram();
    waitForProbe();
    prompts->queueAnswer(Answer::OK); // thank you
    fillWelcome(details());
    click(main().Welcome->Command3);

    EXPECT_TRUE(prompts->texts().last().startsWith(ThankYouStart));
    EXPECT_EQ(prompts->recorded().last().style, platform::MsgStyle::Information);
    EXPECT_EQ(help.shown, QStringList{folder.filePath("VURira.chm") + "|Main|StepbyStep.htm"});
    EXPECT_FALSE(main().Welcome->isVisible());
    EXPECT_EQ(settingsLine(49), details().first()); // written at once

    main().close();
    EXPECT_TRUE(program->ended());
    EXPECT_EQ(endCalls, 1);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(settingsLine(49 + i), details()[i]) << "line " << 49 + i;

    program.reset();
    startProgram();
    EXPECT_TRUE(main().isVisible());
    EXPECT_FALSE(main().Welcome->isVisible());
    EXPECT_EQ(program->store().CompanyPhone.value(), details().last());
}

TEST_F(StartupTest, EnterAsksForTheFirstMissingDetailAndStoresNothing)
{
    const struct {
        int empty; // -1: all empty
        QString message;
        const char* focused;
    } cases[] = {
        {-1, QStringLiteral("Please enter your Company Name"), "CompanyName"},
        {3, QStringLiteral("Please enter your Company Zip Code"), "CompanyZip"},
        {6, QStringLiteral("Please enter your Company Phone"), "CompanyPhone"},
    };
    prompts->queueAnswer(Answer::OK);
    startProgram();
    waitForProbe();
    main().activateWindow();
    for (const auto& c : cases) {
        QStringList values = c.empty < 0 ? QStringList() : details();
        if (c.empty >= 0)
            values[c.empty] = QString();
        fillWelcome(values);
        main().Welcome->Command3->setFocus();
        prompts->clear();
        prompts->queueAnswer(Answer::OK);
        click(main().Welcome->Command3);
        EXPECT_EQ(prompts->texts(), QStringList{c.message});
        EXPECT_EQ(prompts->recorded().first().style, platform::MsgStyle::OkOnly);
        ASSERT_TRUE(QApplication::focusWidget());
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focused);
        EXPECT_TRUE(main().Welcome->isVisible());
        EXPECT_TRUE(program->store().CompanyName.value().isEmpty());
        EXPECT_FALSE(settingsExist());
    }
    // Blanks are content.
    QStringList blanks = details();
    blanks[1] = QStringLiteral(" ");
    fillWelcome(blanks);
    prompts->queueAnswer(Answer::OK);
    click(main().Welcome->Command3);
    EXPECT_EQ(program->store().CompanyAddress.value(), QStringLiteral(" "));
    EXPECT_FALSE(main().Welcome->isVisible());
}

// The settings file is Windows-1250 text: a company detail holding a character it lacks would
// be stored as "?" and printed so on every invoice. Each box refuses such a character as it is
// typed or pasted and names it; "€" and the Central European letters are held and go through.
TEST_F(StartupTest, AWelcomeFieldRefusesACharacterTheSettingsFileCannotHold)
{
    prompts->queueAnswer(Answer::OK); // first run
    startProgram();
    waitForProbe();
    prompts.script().clear();
    const struct {
        const char* pasted;
        const char* named;
    } refused[] = {{"Møller ApS", "\"ø\" (U+00F8)"}, {"東京商事", "\"東\" (U+6771)"}, {"Kos 😀", "\"😀\" (U+1F600)"}};
    const QList<QLineEdit*> fields = main().Welcome->companyFields();
    for (QLineEdit* field : fields) {
        for (const auto& r : refused) {
            field->setText(QStringLiteral("Kos"));
            prompts->queueAnswer(Answer::OK);
            QApplication::clipboard()->setText(QString::fromUtf8(r.pasted));
            field->paste();
            EXPECT_EQ(field->text(), QStringLiteral("Kos")) << field->objectName().toStdString();
            ASSERT_FALSE(prompts->texts().isEmpty());
            EXPECT_TRUE(prompts->texts().last().contains(QString::fromUtf8(r.named)))
                << prompts->texts().last().toStdString();
            EXPECT_EQ(prompts->recorded().last().style, 48);
        }
        field->clear();
        field->setFocus();
        prompts->queueAnswer(Answer::OK);
        QTest::keyClicks(field, QString::fromUtf8("Kø"));
        EXPECT_EQ(field->text(), QStringLiteral("K"));
        QApplication::clipboard()->setText(QString::fromUtf8("ršč € 5"));
        field->paste();
        EXPECT_EQ(field->text(), QString::fromUtf8("Kršč € 5"));
    }
    EXPECT_EQ(prompts->texts().size(), fields.size() * 4);

    prompts->queueAnswer(Answer::OK); // thank you
    click(main().Welcome->Command3);
    EXPECT_EQ(settingsLine(49), QString::fromUtf8("Kršč € 5"));
}

TEST_F(StartupTest, EnterAndDownMoveThroughTheWelcomeFieldsToTheEnterButton)
{
    prompts->queueAnswer(Answer::OK);
    startProgram();
    waitForProbe();
    main().activateWindow();
    const QList<QLineEdit*> fields = main().Welcome->companyFields();
    fields.first()->setFocus();
    for (int i = 0; i < fields.size(); ++i) {
        ASSERT_EQ(QApplication::focusWidget(), fields[i]) << i;
        QTest::keyClick(QApplication::focusWidget(), i % 2 ? Qt::Key_Down : Qt::Key_Return);
    }
    EXPECT_EQ(QApplication::focusWidget(), main().Welcome->Command3);
    EXPECT_TRUE(prompts->recorded().size() == 1); // no "Enter" was pressed by the keys
}

TEST_F(StartupTest, ExitOnTheWelcomeFrameEndsAtOnceWithoutASettingsFile)
{
    prompts->queueAnswer(Answer::OK);
    startProgram();
    waitForProbe();
    fillWelcome(details());
    click(main().Welcome->Command4);
    EXPECT_TRUE(program->ended());
    EXPECT_EQ(endCalls, 1);
    EXPECT_FALSE(main().isVisible());
    EXPECT_FALSE(settingsExist());
}

TEST_F(StartupTest, AStoredPasswordShowsTheLoginAndTheRightOneOpensTheLauncher)
{
    writeSettings(QStringLiteral("Kos"), QStringLiteral("Geslo1"));
    startProgram();
    EXPECT_TRUE(prompts->texts().isEmpty());
    EXPECT_TRUE(loginShown());
    EXPECT_TRUE(main().txtpassword->text().isEmpty());
    EXPECT_EQ(main().txtpassword->echoMode(), QLineEdit::Password);
    waitForProbe();
    main().txtpassword->setText(QStringLiteral("Geslo1"));
    click(main().OKSecurity);
    EXPECT_TRUE(launcherShown());
    EXPECT_FALSE(program->ended());
}

TEST_F(StartupTest, WithoutAPasswordTheLoginIsNeverShown)
{
    writeSettings(QStringLiteral("Kos"));
    startProgram();
    EXPECT_TRUE(launcherShown());
    EXPECT_FALSE(main().Welcome->isVisible());
}

TEST_F(StartupTest, WrongPasswordsEndTheProgramWithoutWritingTheSettings)
{
    const struct {
        const char* name;
        QStringList typed;
        QList<Answer> answers; // to "Your Password is not valid!", in order
        bool ends;
        int failures;
    } cases[] = {
        {"cancel after the first", {"geslo1"}, {Answer::Cancel}, true, 0},
        {"four retries, then the right one", {"a", "b", "c", "GESLO1", "Geslo1"},
         {Answer::Retry, Answer::Retry, Answer::Retry, Answer::Retry}, false, 4},
        {"the fifth failure", {"a", "b", "c", "d", "e"},
         {Answer::Retry, Answer::Retry, Answer::Retry, Answer::Retry, Answer::Retry}, true, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeSettings(QStringLiteral("Kos"), QStringLiteral("Geslo1"));
        const QByteArray before = settingsBytes();
        endCalls = 0;
        program.reset();
        startProgram();
        waitForProbe();
        prompts->clear();
        for (Answer a : c.answers)
            prompts->queueAnswer(a);
        if (c.failures == 5)
            prompts->queueAnswer(Answer::OK); // "Invalid Passwords!"
        for (const QString& typed : c.typed) {
            if (!program->ended())
                typePassword(typed);
        }
        QStringList expected;
        for (int i = 0; i < c.answers.size(); ++i)
            expected << QStringLiteral("Your Password is not valid!");
        if (c.failures == 5)
            expected << QStringLiteral("Invalid Passwords!");
        EXPECT_EQ(prompts->texts(), expected);
        EXPECT_EQ(prompts->recorded().first().style, platform::MsgStyle::RetryCancel);
        EXPECT_EQ(program->ended(), c.ends);
        EXPECT_EQ(endCalls, c.ends ? 1 : 0);
        EXPECT_EQ(main().FailedPasswordCount(), c.failures);
        EXPECT_EQ(launcherShown(), !c.ends);
        EXPECT_EQ(settingsBytes(), before);
    }
}

TEST_F(StartupTest, CancelOnTheLoginIsTheNormalShutDownAndWritesTheSettings)
{
    writeSettings(QStringLiteral("Kos"), QStringLiteral("Geslo1"));
    startProgram();
    waitForProbe();
    program->store().Balance = QStringLiteral("12.5");
    click(main().CancelSecurity);
    EXPECT_TRUE(program->ended());
    EXPECT_EQ(settingsLine(47), QStringLiteral("12.5"));
}

TEST_F(StartupTest, WithoutTheSpreadsheetProgramItsMessageComesOnceAfterTheFirstRunMessage)
{
    spreadsheet->failStart = true;
    prompts->queueAnswer(Answer::OK); // first run
    prompts->queueAnswer(Answer::OK); // spreadsheet
    startProgram();
    EXPECT_EQ(prompts->texts(), QStringList{FirstRunMessage});
    waitForProbe();
    ASSERT_EQ(prompts->texts(), (QStringList{FirstRunMessage, ExcelMessage}));
    EXPECT_EQ(prompts->recorded().last().style, platform::MsgStyle::Critical);
    EXPECT_EQ(prompts->recorded().last().title, ExcelTitle);
    EXPECT_EQ(program->store().lblEXCELSTATUS.value(), QStringLiteral("NERADI"));
    QFile marker(folder.filePath("System/Temp/Temp.tmp"));
    ASSERT_TRUE(marker.open(QIODevice::ReadOnly));
    EXPECT_EQ(marker.readAll(), QByteArray("ERROR"));
    marker.close();
    EXPECT_FALSE(program->ended());
    EXPECT_TRUE(main().isVisible());
    // The probe needs only the settings, not their window: none is made for it.
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<shell::frmBalance*>(window));

    // The settings window does not probe again.
    click(main().lblBalance);
    QTest::qWait(0);
    EXPECT_EQ(prompts->texts().size(), 2);

    // The next start's settings load removes the marker; this time the program starts.
    main().close();
    program.reset();
    spreadsheet->failStart = false;
    startProgram();
    EXPECT_FALSE(QFile::exists(folder.filePath("System/Temp/Temp.tmp")));
    waitForProbe();
    EXPECT_EQ(program->store().lblEXCELSTATUS.value(), QStringLiteral("RADI"));
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<shell::frmBalance*>(window));
}

} // namespace

namespace {

TEST_F(StartupTest, AHostThatAsksForItsPasswordShowsTheLoginDuringTheNetworkStart)
{
    const auto onShare = [](const QString&) { return true; };
    const QString hostFile = folder.filePath("share/Firma.QVNET");
    QDir().mkpath(datafiles::HostDataFolder(hostFile) + QStringLiteral("/RAzar"));
    {
        datafiles::SettingsStore host;
        setUpHost(host, hostFile);
        host.CURRENTPASSWORD = QStringLiteral("Skupno");
        host.CheckUseMyPassword.Value = 1;
        ASSERT_TRUE(datafiles::WriteHostFile(host));
        host.CURRENTPASSWORD = QString(); // this machine stores none of its own
        ASSERT_TRUE(datafiles::SaveSettingsFile(host));
    }
    makeProgram();
    program->store().setNetworkPathTest(onShare);
    startProgram();
    EXPECT_TRUE(prompts->texts().isEmpty());
    EXPECT_TRUE(program->store().OptionHost.value());
    EXPECT_EQ(program->store().CURRENTPASSWORD.value(), QStringLiteral("Skupno"));
    EXPECT_TRUE(loginShown());
    EXPECT_TRUE(main().isVisible());
    EXPECT_FALSE(program->settingsWindow().isVisible());
    waitForProbe();
    EXPECT_EQ(spreadsheet->calls.count("start"), 1);
    typePassword(QStringLiteral("Skupno"));
    EXPECT_TRUE(launcherShown());
}

// The settings window is made when it is first needed, not at the start, even when the
// network start falls back to working alone; made later, it shows what the start left.
TEST_F(StartupTest, ANetworkStartThatFallsBackMakesNoSettingsWindowWhichLaterShowsTheFallBack)
{
    const auto onShare = [](const QString&) { return true; };
    const QString hostFile = folder.filePath("share/Firma.QVNET"); // the share is not there
    {
        datafiles::SettingsStore host;
        setUpHost(host, hostFile);
        host.CheckReadWrite.Value = 1;
        ASSERT_TRUE(datafiles::SaveSettingsFile(host));
    }
    makeProgram();
    program->store().setNetworkPathTest(onShare);
    prompts->queueAnswer(Answer::OK);
    startProgram();
    ASSERT_EQ(prompts->texts().size(), 1);
    EXPECT_TRUE(prompts->texts().first().startsWith(QStringLiteral("Quorvane was not able to access ") + hostFile));
    EXPECT_TRUE(program->store().OptionSingleMachine.value());
    EXPECT_TRUE(main().isVisible());
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<shell::frmBalance*>(window));

    shell::frmBalance& settings = program->settingsWindow();
    EXPECT_TRUE(settings.OptionSingleMachine->isChecked());
    EXPECT_FALSE(settings.OptionHost->isChecked());
    EXPECT_FALSE(settings.CheckReadWrite->isChecked());
    EXPECT_FALSE(settings.CheckReadWrite->isEnabled());
    EXPECT_EQ(settings.MyHostName->text(), hostFile);
    EXPECT_EQ(settings.CompanyName->text(), QStringLiteral("Kos"));
    EXPECT_EQ(prompts->texts().size(), 1);
}

// In network mode the start also completes a posting cut short in the shared folder, and
// sweeps there what killed writers left: temporary files once surely dead, and the
// replacements of postings killed before their journal.
TEST_F(StartupTest, TheStartCompletesAndSweepsTheSharedFolderToo)
{
    const auto onShare = [](const QString&) { return true; };
    const QString hostFile = folder.filePath("share/Firma.QVNET");
    const QString shared = datafiles::HostDataFolder(hostFile) + QStringLiteral("/RAzar/");
    ASSERT_NO_FATAL_FAILURE(writeHost(hostFile));
    const QString bank = shared + QStringLiteral("Contacts/Bank.QVC");
    const auto leave = [](const QString& path, int daysOld) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("left");
        file.flush(); // closing then writes nothing that would touch the time
        file.setFileTime(QDateTime::currentDateTime().addDays(-daysOld), QFileDevice::FileModificationTime);
    };
    leave(shared + QStringLiteral("Contacts/.Bank.QVC.~1a2b"), 3);       // a dead save's
    leave(shared + QStringLiteral("Contacts/.Other.QVC.~3c4d"), 0);      // a save going on now
    leave(shared + QStringLiteral("Contacts/.Bank.QVC.~p5e6f"), 0);      // a killed posting's
    ASSERT_TRUE(posting::PostingJournal::stage(shared, {{bank, QByteArrayLiteral("posted")}}));

    makeProgram();
    program->store().setNetworkPathTest(onShare);
    startProgram();
    EXPECT_TRUE(program->store().OptionHost.value());
    QFile posted(bank);
    ASSERT_TRUE(posted.open(QIODevice::ReadOnly));
    EXPECT_EQ(posted.readAll(), "posted");
    EXPECT_FALSE(posting::PostingJournal::exists(shared));
    const QStringList left = QDir(shared + QStringLiteral("Contacts")).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList({QStringLiteral(".Other.QVC.~3c4d"), QStringLiteral("Bank.QVC")}));
}

// A posting that a crash cut short is completed before the settings file is read, so the
// settings the program starts with are the posted ones; a journal that cannot be read is
// told, set aside, and the start goes on with the files as they are.
TEST_F(StartupTest, APostingCutShortIsCompletedBeforeTheSettingsAreRead)
{
    writeSettings(QStringLiteral("Before"));
    datafiles::SettingsStore posted;
    posted.CompanyName = QStringLiteral("After");
    posted.CompanyAddress = QStringLiteral("Ulica 1");
    posted.InvoiceNumber = QStringLiteral("8");
    const QString settingsPath = datafiles::settingsFilePath();
    ASSERT_TRUE(datafiles::SaveSettingsFile(posted));
    QFile written(settingsPath);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray postedBytes = written.readAll();
    written.close();
    writeSettings(QStringLiteral("Before")); // the crash came before the settings file was replaced
    ASSERT_TRUE(posting::PostingJournal::stage(posting::PostingJournal::localFolder(), {{settingsPath, postedBytes}}));

    startProgram();
    EXPECT_EQ(program->store().CompanyName.value(), QStringLiteral("After"));
    EXPECT_EQ(program->store().InvoiceNumber.value(), QStringLiteral("8"));
    EXPECT_FALSE(posting::PostingJournal::exists());
}

// What happens in a folder while it is watched: one line per change of a name or a file.
class FolderWatch {
public:
    FolderWatch() : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
    ~FolderWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool add(const QString& folder)
    {
        const int watch = inotify_add_watch(m_fd, QFile::encodeName(folder).constData(),
                                            IN_CREATE | IN_DELETE | IN_MODIFY | IN_ATTRIB | IN_MOVED_FROM
                                                | IN_MOVED_TO | IN_CLOSE_WRITE);
        if (watch < 0)
            return false;
        m_folders[watch] = folder;
        return true;
    }
    // The changes since the last call.
    QStringList changes()
    {
        QStringList seen;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got <= 0)
                return seen;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                seen << QStringLiteral("%1%2 (0x%3)")
                            .arg(m_folders.value(event->wd), QString::fromLocal8Bit(event->len ? event->name : ""))
                            .arg(event->mask, 0, 16);
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int m_fd;
    QMap<int, QString> m_folders;
};

// A host's start with nothing left over by a posting, here or in the shared folder: the
// folders are only looked at. No posting lock is taken there (a file written and flushed),
// so another copy or computer starting or posting at the same time is not made to wait.
TEST_F(StartupTest, AStartWithNothingLeftOverChangesNothingInThePostingFolders)
{
    const auto onShare = [](const QString&) { return true; };
    const QString hostFile = folder.filePath("share/Firma.QVNET");
    const QString shared = datafiles::HostDataFolder(hostFile) + QStringLiteral("/RAzar/");
    ASSERT_NO_FATAL_FAILURE(writeHost(hostFile));
    FolderWatch watch;
    for (const QString& watched : {posting::PostingJournal::localFolder(), shared, folder.filePath("share/")})
        ASSERT_TRUE(watch.add(watched)) << watched.toStdString();

    makeProgram();
    program->store().setNetworkPathTest(onShare);
    startProgram();
    EXPECT_TRUE(program->store().OptionHost.value());
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(watch.changes(), QStringList());
}

// Another copy of the program is posting while this one starts: what its posting has
// written so far (the replacements, then the journal) is left to it, whatever the start
// finds, and the settings are read as they are.
TEST_F(StartupTest, APostingGoingOnIsLeftToTheCopyThatPosts)
{
    PostingLockTiming shortWait;
    const QString bank = folder.writeFile(QStringLiteral("System/RAzar/Contacts/Bank.QVC"), "before");
    for (const bool journalWritten : {false, true}) {
        SCOPED_TRACE(journalWritten ? "journal written" : "replacements only");
        writeSettings(QStringLiteral("Kos"));
        const QByteArray settings = settingsBytes();
        datafiles::PostingLock posting(posting::PostingJournal::localFolder());
        posting.setCompletes(false);
        ASSERT_EQ(posting.acquire(), datafiles::PostingLock::Status::Held);
        QString replacement;
        ASSERT_TRUE(platform::writeReplacement(bank, "posted", replacement));
        if (journalWritten) {
            ASSERT_TRUE(posting::PostingJournal::write(
                posting::PostingJournal::localFolder(),
                {{bank, QFileInfo(replacement).fileName(), posting::PostingJournal::digest("before"),
                  posting::PostingJournal::digest("posted"), QString(), QByteArray()}}));
        }

        startProgram();
        EXPECT_TRUE(main().isVisible());
        EXPECT_EQ(program->store().CompanyName.value(), QStringLiteral("Kos"));
        EXPECT_TRUE(QFile::exists(replacement));
        EXPECT_EQ(posting::PostingJournal::exists(), journalWritten);
        EXPECT_TRUE(posting.stillHeld());
        QFile file(bank);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "before");
        EXPECT_EQ(settingsBytes(), settings);

        program.reset();
        ASSERT_TRUE(QFile::remove(replacement));
        if (journalWritten) {
            ASSERT_TRUE(posting::PostingJournal::remove(posting::PostingJournal::path()));
        }
    }
}

// The replacement files of a posting killed before its journal are removed at the start even
// when nothing else was left.
TEST_F(StartupTest, AReplacementLeftWithoutAJournalIsRemovedAtTheStart)
{
    writeSettings(QStringLiteral("Kos"));
    const QString bank = folder.writeFile(QStringLiteral("System/RAzar/Contacts/Bank.QVC"), "before");
    QString replacement;
    ASSERT_TRUE(platform::writeReplacement(bank, "never journalled", replacement));

    startProgram();
    EXPECT_FALSE(QFile::exists(replacement));
    QFile file(bank);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "before");
}

// A breaker killed at its marker, or a holder killed while it wrote its journal, leaves a file
// that names nothing anyone still does: the start removes both, without a word.
TEST_F(StartupTest, WhatKilledBreakersAndJournalWritersLeftIsRemovedAtTheStart)
{
    writeSettings(QStringLiteral("Kos"));
    datafiles::LockHolder breaker = datafiles::PostingLock::self();
    breaker.process = 0;
    const QString marker =
        folder.writeFile(QStringLiteral("System/RAzar/.posting.lock.broken-0123abcd"), datafiles::PostingLock::encode(breaker, 0));
    const QString halfJournal = folder.writeFile(QStringLiteral("System/RAzar/.posting.jnl.~1a2b"), "QVPOST3\n");

    startProgram();
    EXPECT_TRUE(main().isVisible());
    EXPECT_FALSE(QFile::exists(marker));
    EXPECT_FALSE(QFile::exists(halfJournal));
    EXPECT_FALSE(posting::PostingJournal::exists());
}

TEST_F(StartupTest, ADamagedPostingJournalIsToldAndTheStartGoesOn)
{
    writeSettings(QStringLiteral("Kos"));
    QDir().mkpath(QFileInfo(posting::PostingJournal::path()).absolutePath());
    QFile journal(posting::PostingJournal::path());
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write("not a journal");
    journal.close();

    prompts->queueAnswer(Answer::OK);
    startProgram();
    ASSERT_FALSE(prompts->recorded().isEmpty());
    EXPECT_EQ(prompts->recorded().first().style, 16);
    EXPECT_EQ(program->store().CompanyName.value(), QStringLiteral("Kos"));
    EXPECT_TRUE(main().isVisible());
}

} // namespace
