// The shut-down: the windows are unloaded in order, the settings are written and the program
// ends; a window whose changes are saved or dropped lets it end, one whose changes the user
// keeps or that could not save them stops it, and a settings file that cannot be written is
// reported without keeping the program from ending.

#include "datafiles/datafilewriter.h"
#include "grid/documents/documentlist.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "programfixture.h"
#include "shell/formnames.h"
#include "windows/document/documentwindow.h"

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

namespace {

// The first cell of a list file as it stands on disk.
QString firstCellOnDisk(const QString& path)
{
    grid::GridCore core;
    grid::GridFile file(core);
    return file.OpenFile(path) ? core.GetItem(1, 1) : QStringLiteral("<unreadable>");
}

// The shut-down with the program's own item groups window holding a new, unsaved group.
class ShutDownWithDocumentTest : public ProgramTest {
protected:
    // A fresh start; the user opens the item groups window and types a cell.
    void startWithUnsavedGroup()
    {
        program.reset();
        endCalls = 0;
        writeSettings(QStringLiteral("Kos"));
        startProgram();
        waitForProbe();
        click(main().lblItems);
        shell::ProgramWindow* entry = program->windows().find(FormName::Items);
        ASSERT_TRUE(entry);
        items = static_cast<windows::DocumentWindow*>(&entry->form());
        items->List1().ChangeItem(1, 1, QStringLiteral("Hrastova deska"));
        emit items->List1().GridKeyDown(65, 0, 1, 1);
        ASSERT_EQ(items->lblChangeStatus(), QStringLiteral("1"));
        program->store().Item.ToolTipText = QStringLiteral("/forms/Mine.xls"); // a setting of this run
    }
    QWidget* loadedItems() const
    {
        shell::ProgramWindow* entry = program->windows().find(FormName::Items);
        return entry ? &entry->form() : nullptr;
    }

    windows::DocumentWindow* items = nullptr;
};

// Whatever the answer to "Save Changes?", the program ends; only Cancel, or a save that did
// not complete, keeps it running with the window and its work.
TEST_F(ShutDownWithDocumentTest, TheProgramEndsAfterTheAnswerUnlessTheWorkWouldBeLost)
{
    const QString saved = folder.filePath("System/RAzar/Items/Deske.QVI");
    const QString nowhere = folder.filePath("gone/Deske.QVI");
    const struct {
        const char* name;
        std::function<void(testsupport::ScriptedPrompts&)> answer;
        bool ends;
        bool written;
    } cases[] = {
        {"Yes saves the group, then the program ends",
         [&](testsupport::ScriptedPrompts& p) {
             p.queueAnswer(Answer::Yes);
             p.queueSave(saved);
         },
         true, true},
        {"No drops the group and the program ends", [](testsupport::ScriptedPrompts& p) { p.queueAnswer(Answer::No); },
         true, false},
        {"Yes with the file dialog cancelled keeps the program and the group",
         [](testsupport::ScriptedPrompts& p) {
             p.queueAnswer(Answer::Yes);
             p.queueSaveCancel();
         },
         false, false},
        {"Yes with a save that fails keeps the program and the group",
         [&](testsupport::ScriptedPrompts& p) {
             p.queueAnswer(Answer::Yes);
             p.queueSave(nowhere);
             p.queueAnswer(Answer::No); // "Attention!": the folder chosen is kept
             p.queueAnswer(Answer::OK); // the failure, naming the file
         },
         false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(saved);
        startWithUnsavedGroup();
        const QByteArray settingsBefore = settingsBytes();
        prompts.script().clear();
        c.answer(prompts.script());
        main().close();

        EXPECT_EQ(prompts->texts().first(), QStringLiteral("Save Changes?"));
        EXPECT_EQ(program->ended(), c.ends);
        EXPECT_EQ(endCalls, c.ends ? 1 : 0);
        EXPECT_EQ(QFile::exists(saved), c.written);
        if (c.written) {
            EXPECT_EQ(firstCellOnDisk(saved), QStringLiteral("Hrastova deska"));
        }
        if (c.ends) {
            EXPECT_TRUE(program->windows().loaded().isEmpty());
            EXPECT_EQ(settingsLine(57), QStringLiteral("/forms/Mine.xls"));
            continue;
        }
        // The window stays with the unsaved group, and nothing was written.
        EXPECT_EQ(loadedItems(), items);
        EXPECT_TRUE(items->isVisible());
        EXPECT_EQ(items->lblChangeStatus(), QStringLiteral("1"));
        EXPECT_EQ(items->List1().GetItem(1, 1), QStringLiteral("Hrastova deska"));
        EXPECT_TRUE(main().isVisible());
        EXPECT_EQ(settingsBytes(), settingsBefore);
        EXPECT_FALSE(QFile::exists(nowhere));
    }
    // The failed save told the user which file it could not write.
    EXPECT_TRUE(prompts->texts().last().contains(nowhere)) << prompts->texts().join('|').toStdString();
}

} // namespace
