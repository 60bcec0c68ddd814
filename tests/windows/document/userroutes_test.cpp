// What the user does in a document window's cells, by every route the window offers: each
// change marks the document changed, so that closing asks before it is lost; Tab moves on to
// the next cell; Ctrl+Z and Ctrl+Y reach the window's Undo and Redo when the cell editor has
// nothing of its own to take back; and Open refuses only the document the window shows.

#include "documentfixture.h"

#include "grid/celltextbox.h"
#include "grid/gridselection.h"
#include "grid/lbltxt.h"
#include "platform/desktop.h"
#include "platform/spreadsheet.h"
#include "support/recordingspreadsheet.h"
#include "windows/contacts/frmcontacts.h"
#include "windows/items/frmitems.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <memory>

namespace windowtest {
namespace {

using platform::Answer;

// A saved document of the kind, opened as the user opens it, with two columns of the user's
// own from column 5 on (a transaction's item columns 1 to 4 take no typing: the window only
// shows its guidance there).
class SavedDocument : public DocumentFixture {
public:
    void openSaved()
    {
        openWindow();
        path = local(fileName("Workshop"));
        writeDocument(path, {QStringLiteral("Bolt"), QStringLiteral("Screw"), QStringLiteral("Nail")});
        openThroughDialog(path);
        ASSERT_EQ(window->windowTitle(), caption(fileName("Workshop")));
        while (list().ColumnCount() < 4) {
            list().AddColumn(list().ColumnCount() + 1, 60, QStringLiteral("Extra"));
            list().EnableEdit(list().ColumnCount());
        }
        for (const char* name : {"Note", "Bin"}) {
            list().AddColumn(list().ColumnCount() + 1, 80, QString::fromLatin1(name));
            list().EnableEdit(list().ColumnCount());
        }
        for (int r = 1; r <= 3; ++r)
            list().ChangeItem(r, note(), QStringLiteral("note %1").arg(r));
        list().ClearUndoRedo();
        rowsBefore = list().ListCount();
        window->setlblChangeStatus(QStringLiteral("0"));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        platform::clearClipboard();
        prompts.script().clear();
    }

    grid::DocumentList& list() { return window->List1(); }
    windows::DocumentWindow& win() { return *window; }
    int note() const { return window->List1().ColumnCount() - 1; }
    int bin() const { return window->List1().ColumnCount(); }
    grid::CellTextBox* box(int column) { return list().selection().editor(column)->textBox(); }
    // The user clicks the cell: its row opens and its editor takes the keyboard.
    void click(int row, int column)
    {
        list().SelectItem(row, 1, column);
        ASSERT_TRUE(box(column)->hasFocus());
    }
    void key(int column, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(box(column), k, mods);
    }
    // An entry of the cell editor's own right-click menu, by its caption without the access
    // key's mark and the shortcut ("Delete", "Cut", "Paste", "Undo").
    void editorMenu(int column, const QString& caption)
    {
        std::unique_ptr<QMenu> menu(box(column)->createStandardContextMenu());
        QAction* entry = nullptr;
        for (QAction* a : menu->actions())
            if (a->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')) == caption)
                entry = a;
        ASSERT_NE(entry, nullptr) << caption.toStdString();
        ASSERT_TRUE(entry->isEnabled()) << caption.toStdString();
        entry->trigger();
    }

    // The routes answer questions and choose files as the user does.
    using DocumentFixture::folder;
    using DocumentFixture::prompts;

    QString path;
    int rowsBefore = 0;
};

// ---------------------------------------------------------------- the changed mark

// One way the user changes the document, and how the grid shows that it did.
struct Route {
    const char* name;
    std::function<void(SavedDocument&)> act;
    std::function<bool(SavedDocument&)> changed;
    // The menu entry or button the route needs; a kind without it, or with it switched off,
    // passes the route over.
    const char* needs = nullptr;
};

// Every route that changes the document marks it changed, and File > Close then asks before
// the change is lost; a route that only moves about marks nothing.
TEST_P(SavedDocument, EveryRouteThatChangesTheDocumentMarksItChanged)
{
    using D = SavedDocument;
    const auto cellIs = [](int row, bool noteColumn, const char* text) {
        return [=](D& t) { return t.list().GetItem(row, noteColumn ? t.note() : t.bin()) == QString::fromUtf8(text); };
    };
    const auto rowsChangedBy = [](int count) { return [=](D& t) { return t.list().ListCount() == t.rowsBefore + count; }; };
    const Route routes[] = {
        {"Insert key in a cell", [](D& t) { t.click(1, t.note()); t.key(t.note(), Qt::Key_Insert); },
         [](D& t) { return t.list().GetItem(2, t.note()).isEmpty() && t.list().GetItem(3, t.note()) == "note 2"; }},
        {"Ctrl+Insert in a cell", [](D& t) { t.click(2, t.note()); t.key(t.note(), Qt::Key_Insert, Qt::ControlModifier); },
         [](D& t) { return t.list().GetItem(2, t.note()).isEmpty() && t.list().GetItem(3, t.note()) == "note 2"; }},
        {"Ctrl+Delete in a cell", [](D& t) { t.click(2, t.note()); t.key(t.note(), Qt::Key_Delete, Qt::ControlModifier); },
         [](D& t) { return t.list().GetItem(2, t.note()) == "note 3"; }},
        {"typing in a cell", [](D& t) { t.click(1, t.bin()); QTest::keyClicks(t.box(t.bin()), "A7"); }, cellIs(1, false, "A7")},
        {"the editor's menu Delete",
         [](D& t) { t.click(1, t.note()); t.editorMenu(t.note(), "Delete"); }, cellIs(1, true, "")},
        {"the editor's menu Cut", [](D& t) { t.click(1, t.note()); t.editorMenu(t.note(), "Cut"); }, cellIs(1, true, "")},
        {"the editor's menu Paste",
         [](D& t) {
             platform::setClipboardText(QStringLiteral("100.1"));
             t.click(1, t.bin());
             t.editorMenu(t.bin(), "Paste");
         },
         cellIs(1, false, "100.1")},
        {"the editor's menu Undo",
         [](D& t) {
             t.click(1, t.bin());
             QTest::keyClicks(t.box(t.bin()), "x");
             t.win().setlblChangeStatus(QStringLiteral("0"));
             t.editorMenu(t.bin(), "Undo");
         },
         cellIs(1, false, "")},
        {"text dropped on a cell",
         [](D& t) {
             t.click(1, t.bin());
             QMimeData data;
             data.setText(QStringLiteral("1000.01"));
             QWidget* target = t.box(t.bin());
             const QPointF at(4, 4);
             QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(target, &enter);
             QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(target, &move);
             QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(target, &drop);
         },
         cellIs(1, false, "1000.01")},
        {"the text bar", [](D& t) { t.click(3, t.note()); QTest::keyClicks(t.win().TextText(), "!"); },
         [](D& t) { return t.list().GetItem(3, t.note()).endsWith("!"); }, "TextText"},
        {"Edit > Row", [](D& t) { t.click(1, t.note()); t.win().menu("InserRow")->trigger(); }, rowsChangedBy(1), "InserRow"},
        {"Edit > Delete Row", [](D& t) { t.click(1, t.note()); t.win().menu("deleterow")->trigger(); }, rowsChangedBy(-1),
         "deleterow"},
        {"the Bold button", [](D& t) { t.click(1, t.note()); t.win().button("cmdBold")->click(); },
         [](D& t) { return t.list().core().cell(1, t.note()).Bold; }},
        {"Replace",
         [](D& t) {
             t.win().button("cmdFind")->click();
             t.win().Find()->findChild<QLineEdit*>("txttoFind")->setText("note 2");
             t.win().Find()->findChild<QLineEdit*>("txttoReplace")->setText("done");
             t.win().button("ReplaceInList")->click();
         },
         [](D& t) { return t.list().GetItem(2, t.note()) == "done"; }, "ReplaceInList"},
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        openSaved();
        if (route.needs) {
            const QString needed = QString::fromLatin1(route.needs);
            QAction* entry = window->menu(needed);
            QAbstractButton* button = window->button(needed);
            const bool textBar = needed == QLatin1String("TextText") && !window->TextText()->isReadOnly();
            if (!(entry && entry->isEnabled()) && !(button && button->isEnabled()) && !textBar)
                continue;
        }
        route.act(*this);
        ASSERT_TRUE(route.changed(*this)) << "the route did not change the document";
        EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));
        prompts.script().clear();
        prompts->queueAnswer(Answer::Cancel);
        window->menu(QStringLiteral("close"))->trigger();
        ASSERT_EQ(prompts->texts(), QStringList{QStringLiteral("Save Changes?")});
        EXPECT_TRUE(window->isVisible());
    }
}

TEST_P(SavedDocument, MovingAboutTheCellsMarksNothing)
{
    openSaved();
    click(1, note());
    key(note(), Qt::Key_Tab);
    click(3, bin());
    key(bin(), Qt::Key_Tab);
    list().SelectItem(2, 1, note());
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
    window->menu(QStringLiteral("close"))->trigger();
    EXPECT_FALSE(window->isVisible());
}

// ---------------------------------------------------------------- column widths

// A column's width dragged wider on the header is a change of the document like any other:
// closing asks "Save Changes?", and Yes keeps the width in the file, so the document opens
// with it again.
TEST_P(SavedDocument, AColumnWidthDraggedOnTheHeaderIsKeptBySaveChanges)
{
    SKIP_UNLESS_SAVES_PLAINLY();
    openSaved();
    grid::DocumentList& grid = list();
    const int before = grid.GetWidthColumn(1);
    const int wider = before + 37;
    // The user takes the right edge of column 1 on the header and drags it to the right.
    const int border = int(grid.columnLeftOnGrid(1)) + before;
    const int y = 10;
    ASSERT_EQ(grid.childAt(border, y), nullptr) << "the header is the grid's own surface";
    QTest::mousePress(&grid, Qt::LeftButton, {}, QPoint(border, y));
    QMouseEvent drag(QEvent::MouseMove, QPointF(border + 37, y), grid.mapToGlobal(QPointF(border + 37, y)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&grid, &drag);
    QTest::mouseRelease(&grid, Qt::LeftButton, {}, QPoint(border + 37, y));
    ASSERT_EQ(grid.GetWidthColumn(1), wider);
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("1"));

    prompts.script().clear();
    prompts->queueAnswer(Answer::Yes);
    window->menu(QStringLiteral("close"))->trigger();
    ASSERT_EQ(prompts->texts(), QStringList{QStringLiteral("Save Changes?")});
    EXPECT_EQ(window->lblChangeStatus(), QStringLiteral("0"));
    // Yes saved and left the window open; now it closes without a question.
    window->menu(QStringLiteral("close"))->trigger();
    EXPECT_FALSE(window->isVisible());

    openWindow();
    openThroughDialog(path);
    ASSERT_EQ(window->windowTitle(), caption(fileName("Workshop")));
    EXPECT_EQ(list().GetWidthColumn(1), wider);
}

// ---------------------------------------------------------------- Tab

// Tab ends the cell's edit as leaving it does and moves to the next cell on the right, so what
// is typed next lands there; Shift+Tab goes back; from the last column Tab goes on to the
// first column of the next row that takes typing.
TEST_P(SavedDocument, TabMovesTheTypingOnToTheNextCell)
{
    openSaved();
    // A transaction's item columns take no typing; its own columns start at 5.
    const int first = row().formName != QLatin1String("frmTransactions") ? 1 : note();
    click(2, first);
    QTest::keyClicks(box(first), "Washer");
    key(first, Qt::Key_Tab);
    ASSERT_TRUE(box(first + 1)->hasFocus());
    QTest::keyClicks(box(first + 1), "Nut");
    EXPECT_EQ(list().GetItem(2, first), QStringLiteral("Washer"));
    EXPECT_EQ(list().GetItem(2, first + 1), QStringLiteral("Nut"));

    key(first + 1, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(box(first)->hasFocus());
    QTest::keyClicks(box(first), "Spring");
    EXPECT_EQ(list().GetItem(2, first), QStringLiteral("Spring"));
    EXPECT_EQ(list().GetItem(2, first + 1), QStringLiteral("Nut"));
    EXPECT_EQ(window->ActiveColumn(), QString::number(first));

    click(2, bin());
    QTest::keyClicks(box(bin()), "B7");
    key(bin(), Qt::Key_Tab);
    EXPECT_EQ(list().GetItem(2, bin()), QStringLiteral("B7"));
    EXPECT_EQ(list().iSelected(), 3);
    EXPECT_TRUE(box(first)->hasFocus());
    EXPECT_EQ(window->ActiveColumn(), QString::number(first));
}

// ---------------------------------------------------------------- the text bar

// The text bar shows the active cell as it is now, whatever changed the cell or moved the
// selection under it; so an edit in the bar starts from the cell's text and never types an
// older text back over it.
TEST_P(SavedDocument, TheTextBarShowsTheActiveCellAsItIsNow)
{
    using D = SavedDocument;
    const Route routes[] = {
        {"typing in a cell", [](D& t) { t.click(1, t.note()); QTest::keyClicks(t.box(t.note()), "Acme Ltd"); },
         [](D& t) { return t.list().GetItem(1, t.note()) == "Acme Ltd"; }},
        {"the editor's menu Delete", [](D& t) { t.click(1, t.note()); t.editorMenu(t.note(), "Delete"); },
         [](D& t) { return t.list().GetItem(1, t.note()).isEmpty(); }},
        {"Delete Column",
         [](D& t) {
             t.list().ChangeItem(1, t.bin(), QStringLiteral("bin 1"));
             t.click(2, t.note());
             t.prompts->queueAnswer(Answer::Yes);
             t.win().menu("deletecolumn")->trigger();
         },
         [](D& t) { return t.list().GetItem(1, t.list().EditColumn()) == "bin 1"; }, "deletecolumn"},
        {"Delete Row on the last row",
         [](D& t) {
             t.click(t.list().ListCount(), t.note());
             t.win().menu("deleterow")->trigger();
         },
         [](D& t) { return t.list().ListCount() == t.rowsBefore - 1 && t.list().iSelected() == t.rowsBefore - 1; },
         "deleterow"},
        {"an import",
         [](D& t) {
             testsupport::ScopedRecordingSpreadsheet excel;
             const QString book = t.folder.writeFile(QStringLiteral("Book.xls"), "workbook bytes");
             excel->workbooks[book] = {{platform::columnLetters(t.note()) + QStringLiteral("1"), QStringLiteral("imported")}};
             t.click(2, t.note());
             t.prompts->queueOpen(book);
             t.prompts->queueInput(QStringLiteral("1"));
             t.win().importfromexcel_Click();
         },
         [](D& t) { return t.list().GetItem(1, t.note()) == "imported" && t.list().iSelected() == 1; }},
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        openSaved();
        if (route.needs) {
            QAction* entry = window->menu(QString::fromLatin1(route.needs));
            if (!entry || !entry->isEnabled())
                continue;
        }
        route.act(*this);
        ASSERT_TRUE(route.changed(*this)) << "the route did not do what it does";
        const int row = list().iSelected();
        const int column = list().EditColumn();
        const QString cell = list().GetItem(row, column);
        EXPECT_EQ(window->TextText()->text(), cell);
        if (window->TextText()->isReadOnly())
            continue;
        window->TextText()->end(false);
        QTest::keyClicks(window->TextText(), "!");
        EXPECT_EQ(list().GetItem(row, column), cell + QStringLiteral("!"));
    }
}

// ---------------------------------------------------------------- Undo and Redo keys

// With nothing of its own to take back, the cell editor lets Ctrl+Z and Ctrl+Y through to the
// window's Undo and Redo; with typing of its own, it takes that back itself.
TEST_P(SavedDocument, CtrlZAndCtrlYReachTheWindowWhenTheEditorHasNothingToTakeBack)
{
    openSaved();
    click(1, note());
    QTest::keyClicks(box(note()), "Oak");
    click(1, bin());
    key(bin(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(list().GetItem(1, note()), QStringLiteral("note 1"));

    click(2, bin());
    key(bin(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(list().GetItem(1, note()), QStringLiteral("Oak"));

    // The editor's own typing goes first; the earlier edit stays.
    click(3, bin());
    QTest::keyClicks(box(bin()), "xy");
    key(bin(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(list().GetItem(3, bin()), QString());
    EXPECT_EQ(list().GetItem(1, note()), QStringLiteral("Oak"));
    key(bin(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(list().GetItem(3, bin()), QStringLiteral("xy"));
    EXPECT_EQ(list().GetItem(1, note()), QStringLiteral("Oak"));
}

// ---------------------------------------------------------------- "You already have open"

// Open refuses only the document the window shows, and only as it shows it: the file a Save
// As left behind opens again, and so does a document shown read-only, which gets its lock
// once the other computer has let it go.
TEST_P(SavedDocument, OpenRefusesOnlyTheDocumentShownWritable)
{
    const QString refusal = QStringLiteral(" You already have open ");
    openSaved();
    prompts->queueAnswer(Answer::OK);
    openThroughDialog(path);
    EXPECT_EQ(prompts->recorded().last().text, refusal + path);

    if (row().savesPlainly) {
        const QString copy = local(fileName("Workshop2"));
        prompts.script().clear();
        prompts->queueSave(copy);
        ASSERT_TRUE(window->saveas_Click());
        openThroughDialog(path);
        EXPECT_FALSE(prompts->texts().join('|').contains(refusal));
        EXPECT_EQ(window->windowTitle(), caption(fileName("Workshop")));
    }

    program.beHost(shared.path());
    const QString held = inShared(fileName("Shared"));
    writeDocument(held, {QStringLiteral("Bolt")});
    putLock(held, "PC-BOB");
    prompts.script().clear();
    prompts->queueAnswer(Answer::OK);
    openThroughDialog(held);
    ASSERT_EQ(window->windowTitle(), readOnlyCaption(fileName("Shared")));
    QFile::remove(services::EditLockFile::pathOf(held));
    prompts.script().clear();
    openThroughDialog(held);
    EXPECT_FALSE(prompts->texts().join('|').contains(refusal));
    EXPECT_EQ(window->windowTitle(), caption(fileName("Shared")));
    EXPECT_TRUE(saveEnabled());
    EXPECT_EQ(lockOf(held), QByteArray("PC-ANNA"));
}

INSTANTIATE_FOR_EVERY_KIND(SavedDocument);

// ---------------------------------------------------------------- the text bars

// The item groups and contact companies windows shown side by side, each found by its name.
class TwoWindows : public TestProgram {
public:
    std::vector<windows::DocumentWindow*> shown;
    grid::GridWindow* window(const QString& name) override
    {
        for (windows::DocumentWindow* w : shown)
            if (w->kind().formName == name)
                return w;
        return nullptr;
    }
};

// The contact companies window shown again from the launcher, at another size, lays out its
// grid and reopens its row before it is activated, while ActiveList still names the item
// groups window: the contact's cell stays out of the item groups window's text bar.
TEST(TextBars, ATextBarShowsOnlyItsOwnWindowsCell)
{
    testsupport::TempProgramFolder folder;
    testsupport::ScopedPrompts prompts;
    TwoWindows program;
    windows::frmItems items{program.context(program.CommonDialog1, prompts.script())};
    windows::frmContacts contacts{program.context(program.CommonDialog2, prompts.script())};
    program.shown = {&items, &contacts};

    contacts.showFromLauncher();
    contacts.List1().ChangeItem(1, 1, QStringLiteral("Green Hills"));
    contacts.List1().SelectItem(1, 1, 1);
    ASSERT_EQ(contacts.TextText()->text(), QStringLiteral("Green Hills"));
    contacts.hide();

    items.showFromLauncher();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&items));
    items.List1().ChangeItem(2, 1, QStringLiteral("Washer"));
    items.List1().SelectItem(2, 1, 1);
    items.List1().ChangeItem(2, 2, QStringLiteral("0.1"));
    ASSERT_EQ(program.store.ActiveList.value(), QStringLiteral("frmItems"));
    ASSERT_EQ(items.TextText()->text(), QStringLiteral("Washer"));

    contacts.List1().ChangeItem(1, 2, QStringLiteral("Rosemary Hills"));
    contacts.List1().SelectItem(1, 1, 2);
    program.store.frmContactsWidth = QStringLiteral("12000");
    contacts.showFromLauncher();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&contacts));
    EXPECT_EQ(items.TextText()->text(), QStringLiteral("Washer"));
    EXPECT_EQ(items.ActiveColumn(), QStringLiteral("1"));
    EXPECT_EQ(contacts.TextText()->text(), QStringLiteral("Rosemary Hills"));
    EXPECT_EQ(contacts.ActiveColumn(), QStringLiteral("2"));
    EXPECT_EQ(items.List1().GetItem(2, 1), QStringLiteral("Washer"));
}

} // namespace
} // namespace windowtest
