// The shut-down: the windows are unloaded in order, the settings are written and the program
// ends; a window whose changes the user keeps stops it, and a settings file that cannot be
// written is reported without keeping the program from ending.

#include "datafiles/datafilewriter.h"
#include "programfixture.h"
#include "shell/formnames.h"

using namespace shelltest;
using platform::Answer;
namespace FormName = shell::FormName;

namespace {

class ShutDownTest : public ProgramTest {
protected:
    void SetUp() override
    {
        writeSettings(QStringLiteral("Kos"));
        makeProgram();
        for (const QString& name : {FormName::Items, FormName::Contacts, FormName::Transactions, FormName::Payments})
            registerTestWindow(name);
        startProgram();
        waitForProbe();
    }
    void TearDown() override { datafiles::setDataFileWriter({}); }

    TestWindow* open(const QString& name) { return static_cast<TestWindow*>(&program->windows().get(name)->form()); }
};

TEST_F(ShutDownTest, ClosingTheStartupWindowUnloadsTheOpenWindowsWritesTheSettingsAndEnds)
{
    open(FormName::Items)->show();
    open(FormName::Payments)->show();
    program->store().InvoiceNumber = QStringLiteral("17");
    main().close();
    EXPECT_TRUE(program->ended());
    EXPECT_EQ(endCalls, 1);
    EXPECT_TRUE(program->windows().loaded().isEmpty());
    // Windows that were never opened are not made to be closed.
    EXPECT_EQ(made.count(FormName::Contacts), 0u);
    EXPECT_EQ(made.count(FormName::Transactions), 0u);
    EXPECT_EQ(settingsLine(48), QStringLiteral("17"));
    EXPECT_FALSE(main().isVisible());
}

TEST_F(ShutDownTest, CancelAtSaveChangesStopsTheShutDownAndKeepsTheWindowWithItsChanges)
{
    open(FormName::Items)->show();
    TestWindow* contacts = open(FormName::Contacts);
    contacts->changed = true;
    contacts->show();
    open(FormName::Transactions)->show();
    program->store().InvoiceNumber = QStringLiteral("17");
    const QByteArray before = settingsBytes();

    prompts->queueAnswer(Answer::Cancel);
    main().close();
    EXPECT_EQ(prompts->texts(), QStringList{"Save Changes?"});
    EXPECT_EQ(prompts->recorded().first().title, FormName::Contacts);
    EXPECT_FALSE(program->ended());
    EXPECT_EQ(endCalls, 0);
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(loaded(FormName::Contacts), contacts);
    EXPECT_TRUE(contacts->isVisible());
    EXPECT_TRUE(contacts->changed);
    // Nothing after the window that refused was unloaded, and nothing was written.
    ASSERT_TRUE(loaded(FormName::Transactions));
    EXPECT_FALSE(loaded(FormName::Transactions)->calls.contains("close"));
    EXPECT_FALSE(loaded(FormName::Items)); // it came before and closed
    EXPECT_EQ(settingsBytes(), before);

    // Asked again, No lets the shut-down go on.
    prompts->queueAnswer(Answer::No);
    main().close();
    EXPECT_TRUE(program->ended());
    EXPECT_TRUE(program->windows().loaded().isEmpty());
    EXPECT_EQ(settingsLine(48), QStringLiteral("17"));
}

TEST_F(ShutDownTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheProgramStillEnds)
{
    datafiles::setDataFileWriter([](const QString& path, const QByteArray&) {
        datafiles::DataFileWrite failed;
        failed.error = QStringLiteral("\"%1\" could not be written: No space left on device.").arg(path);
        return failed;
    });
    const QByteArray before = settingsBytes();
    prompts->queueAnswer(Answer::OK);
    main().close();
    ASSERT_EQ(prompts->texts().size(), 1);
    EXPECT_TRUE(prompts->texts().first().contains(datafiles::settingsFilePath())) << prompts->texts().first().toStdString();
    EXPECT_TRUE(program->ended());
    EXPECT_EQ(endCalls, 1);
    EXPECT_EQ(settingsBytes(), before);
}

TEST_F(ShutDownTest, AWindowTheUserClosesIsMadeAfreshOnItsNextUse)
{
    TestWindow* first = open(FormName::Items);
    first->show();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(program->windows().find(FormName::Items));
    EXPECT_FALSE(program->window(FormName::Items));
    TestWindow* second = open(FormName::Items);
    EXPECT_EQ(loaded(FormName::Items), second);
    EXPECT_EQ(program->windows().get(FormName::Items), program->windows().find(FormName::Items));
    main().close();
    EXPECT_TRUE(program->ended());
}

} // namespace
