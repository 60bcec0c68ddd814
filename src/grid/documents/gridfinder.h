#pragma once
// Find and replace over the cells of a GridCore: FindText moves to the next cell that holds
// a text and shows it; FindAndReplaceText replaces it once or everywhere, one undoable
// history step per replacement. Letter case is folded (CaseFolding) unless an exact match is
// asked for.

#include <QString>

namespace grid {

class FindView;
class GridCore;

class GridFinder {
public:
    // The view may be null: a hit then only becomes the grid's selected row and column.
    explicit GridFinder(GridCore& core, FindView* view = nullptr);
    void setView(FindView* view) { m_view = view; }

    // Searches the rows after the selected one, then from row 1 up to and including it;
    // columns 1 to ColumnCount within a row. On the first cell that contains Text: brings it
    // into view, selects its row with the focus in its column, highlights the match, True.
    // The empty text is found in the first cell searched.
    bool FindText(const QString& Text, bool ExactMatch = false);

    // Replaces SrcText by NewText from the selected row on (row 1 when none or the last is
    // selected): the first occurrence only, or with All every occurrence in every cell, the
    // rows above the start last. Each replacement records the cell's text from before it.
    // True when anything was replaced. An empty SrcText replaces nothing.
    bool FindAndReplaceText(const QString& SrcText, const QString& NewText, bool All = false,
                            bool ExactMatch = false);

private:
    struct Hit {
        int row = 0;
        int column = 0;
        qsizetype position = -1; // zero-based
    };

    Hit findFrom(int firstRow, int lastRow, const QString& needle, bool exact) const;
    // Replaces in rows first..last; without All it stops after the first replacement.
    // Returns the number of replacements.
    int replaceInRows(int firstRow, int lastRow, const QString& needle, const QString& NewText,
                      bool All, bool exact);
    int replaceInCell(int row, int column, const QString& needle, const QString& NewText,
                      bool All, bool exact);
    void showHit(const Hit& hit, qsizetype length);
    void bringRowIntoView(int row);
    void bringColumnIntoView(int column);

    GridCore& m_core;
    FindView* m_view;
};

} // namespace grid
