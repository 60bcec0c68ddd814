#pragma once
// A grid core wired to a recording view, with helpers to fill and read column texts.

#include "grid/gridcore.h"
#include "recordingview.h"
#include "support/qtprinters.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>

class GridTest : public ::testing::Test {
protected:
    RecordingView view;
    grid::GridCore grid{&view};

    // Rows with the given texts in column 1 (the grid starts with one empty row), no history.
    void fillColumn1(const QStringList& texts)
    {
        grid.resetRows(int(texts.size()));
        for (int r = 1; r <= texts.size(); ++r)
            grid.setCellText(r, 1, texts[r - 1]);
        grid.ClearUndoRedo();
        view.calls.clear();
    }

    QStringList column(int c) const
    {
        QStringList out;
        for (int r = 1; r <= grid.ListCount(); ++r)
            out += grid.GetItem(r, c);
        return out;
    }

    QStringList undoLines() const { return grid.UndoStack().lines(); }
    QStringList redoLines() const { return grid.RedoStack().lines(); }
};
