#pragma once
// A grid of 5 rows and 3 columns (widths 100, 60, 60) whose cells read "r<row>c<col>", shown
// in an active window, with its selection logic talking to a recording host. Prompts are
// scripted: an unexpected message fails the test.

#include "fakegridwidget.h"
#include "support/qtprinters.h"
#include "recordinghost.h"
#include "support/scopedprompts.h"

#include "grid/gridcore.h"
#include "grid/gridselection.h"
#include "grid/lbltxt.h"
#include "grid/celltextbox.h"

#include <QTest>
#include <gtest/gtest.h>

class SelectionFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        fill();
        widget.selection = &sel;
        sel.setHost(&host);
        QObject::connect(&sel, &grid::GridSelection::GridKeyDown, [this](int code, int shift, int row, int col) {
            keyEvents += QStringLiteral("%1 %2 %3 %4").arg(code).arg(shift).arg(row).arg(col);
        });
        widget.show();
        widget.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
    }

    // The 5 rows and 3 columns, with no history.
    void fill()
    {
        core.ClearEntireList();
        core.AddColumn(0, 60, QStringLiteral("B"));
        core.AddColumn(0, 60, QStringLiteral("C"));
        for (int r = 2; r <= 5; ++r)
            core.AddRow();
        for (int r = 1; r <= 5; ++r)
            for (int c = 1; c <= 3; ++c)
                core.setCellText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
        core.ClearUndoRedo();
    }

    grid::lblTxt* ed(int k) const { return sel.editor(k); }
    QWidget* box(int k) const { return ed(k)->textBox(); }
    void key(int k, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(box(k), key, mods); }
    // The column whose editor holds the focus, 0 for none.
    int focused() const
    {
        for (int k = 1; k <= core.ColumnCount(); ++k)
            if (ed(k) && ed(k)->textBox()->hasFocus())
                return k;
        return 0;
    }
    bool editorsShown() const { return ed(1) && ed(1)->isVisible(); }
    // A typed change in row r, column c through its editor, then the row left: one record.
    void editCell(int r, int c, const QString& text)
    {
        sel.SelectItem(r, 1, c);
        QTest::keyClicks(box(c), text);
    }
    // A grid built as the transactions window builds it: columns 1 to 4 not editable, and
    // a fifth column that is.
    void makeTransactionsGrid()
    {
        core.AddColumn(0, 60, QStringLiteral("D"));
        core.AddColumn(0, 60, QStringLiteral("E"));
        for (int c = 1; c <= 4; ++c)
            core.DisableEdit(c);
        host.activeList = grid::GridHost::Transactions;
        host.open(grid::GridHost::Transactions, &sel);
    }

    testsupport::ScopedPrompts prompts;
    FakeGridWidget widget;
    grid::GridCore core{&widget};
    grid::GridSelection sel{core, widget};
    RecordingHost host;
    QStringList keyEvents;
};
