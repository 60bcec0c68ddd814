#pragma once
// The grid's selection and in-cell editing: opening a row under one cell editor per column
// (SelectItem) and closing it (DeselectRow), the edit cycle that records one undo step per
// visit of a cell, the keys that move between rows and cells or insert and delete rows, the
// publication of the active column to the window, and the hand-offs to the transactions
// window. It owns the editors; the widget supplies its measures through a SelectionView and
// forwards its own key, click and access-key notifications.

#include "grid/focusnote.h"

#include <QObject>
#include <QPointer>
#include <optional>
#include <vector>

class QWidget;

namespace grid {

class GridCore;
class GridHost;
class GridWindow;
class SelectionView;
class lblTxt;

class GridSelection : public QObject {
    Q_OBJECT
public:
    // The view's editor parent is the grid: the focus leaving it and all its children closes
    // the selected row.
    GridSelection(GridCore& core, SelectionView& view, QObject* parent = nullptr);
    ~GridSelection() override;

    void setHost(GridHost* host) { m_host = host; }
    GridCore& core() const { return m_core; }

    // Opens row Index for editing with the focus in column iX (0: no editor focused); only
    // Button 1 selects. A row outside 1..ListCount closes the selection and keeps iSelected.
    void SelectItem(int Index, int Button, int iX = 0);
    // Hides the editors and the row marker; iSelected and EditColumn stay.
    void DeselectRow();
    // Writes EditColumn into the ActiveColumn label of the document window that holds this
    // grid (none when no document window holds it).
    void COLUMNUMBER();

    // Notifications from the widget.
    // A key pressed while the grid itself (no editor) has the focus.
    void gridKeyPressed(int KeyCode, int Shift);
    // A click on the grid's own surface: the transactions window's offer to open an item
    // group, for the transactions window's grid only.
    void surfaceClicked();
    // A right-button release there: the same offer, whenever ActiveList names the
    // transactions window.
    void surfaceRightReleased();

    // Makes the editors match the columns (one per column, enabled as the column says).
    void syncEditors();
    // The columns from `first` on changed place, width or number, their cells moved along.
    // A column inserted or removed in front of the open row's editors leaves them showing
    // other columns' cells: the row closes, and a visit of a moved cell ends unrecorded (its
    // cell is no longer where the visit began). Then the editors are made to match.
    void columnsChanged(int first);
    // The rows from `first` on were inserted, removed or replaced. An open row among them
    // no longer holds the cells its editors were loaded from: it closes, and a visit of a
    // cell there ends unrecorded (its cell is gone or no longer where the visit began). A
    // change strictly below the open row leaves it open.
    void rowsChanged(int first);
    // Places the open row's editors anew after a scroll or a change of column widths,
    // without reloading them or moving the focus.
    void moveEditors();
    // A grid member is about to change the grid: the visit in progress ends with its record,
    // as leaving the cell would end it.
    void changeBegins();
    // The member's change is done. An open row's editors show their cells as they are now
    // (an editor added with a column among them) and write nothing back; an editor that
    // holds the focus begins a new visit from its cell's text, and the window's bars show
    // that cell again.
    void changeEnded();
    // Editor k (1..ColumnCount), or nullptr.
    lblTxt* editor(int k) const;
    // Whether a row is open (editors shown).
    bool rowOpen() const { return m_openRow > 0; }
    // The note of the visit in progress, if an editor holds the focus.
    const std::optional<FocusNote>& visit() const { return m_visit; }

    // The guidance shown for keys in the transactions window's item columns, the columns
    // before FirstTypedTransactionColumn.
    static const QString TransactionColumnsMessage;
    static constexpr int FirstTypedTransactionColumn = 5;

signals:
    // A key the grid does not handle itself.
    void GridKeyDown(int KeyCode, int Shift, int SelectedRow, int SelectedColumn);

private:
    int lastColumn() const;
    // The top of row `row`'s editors on the grid, at the current scroll.
    int editorTop(int row) const;
    bool canTakeFocus(int k) const;
    // Whether a key in column k only shows TransactionColumnsMessage.
    bool showsTransferHint(int k) const;
    // Whether what is typed in column k lands in its cell.
    bool takesTyping(int k) const;
    void placeEditor(int k, int top);
    void loadEditor(int k);
    bool holdsFocus(int k) const;
    void highlightColumn(int k, bool active);
    void setBodyColor(int k, uint32_t color);
    QString activeList() const;
    GridWindow* ownWindow() const;
    bool isTransactionsGrid() const;

    void focusEditor(int k);
    void editorGotFocus(int k);
    void editorFocusReturned(int k);
    void editorChanged(int k);
    void editorLostFocus(int k);
    void editorKeyDown(int k, int& KeyCode, int& Shift);
    void editorRight(int k);
    void editorLeft(int k);
    void tabMove(int k, bool forward);
    bool runKeyTable(int k, int KeyCode, int Shift);
    void closeVisit();
    void publishCell(int k);
    void edgeMoved();
    void bringRowIntoView(int k);
    void bringColumnIntoView();
    // Enter: the item or contact transfer into the open transaction.
    void accessKeyPressed();
    // Closes the selected row when the keyboard focus leaves the grid and all its parts.
    void focusChanged(QWidget* old, QWidget* now);

    GridCore& m_core;
    SelectionView& m_view;
    QPointer<QWidget> m_grid;
    GridHost* m_host = nullptr;
    std::vector<QPointer<lblTxt>> m_editors; // element k is editor k; element 0 is unused
    int m_openRow = 0;              // the row the shown editors were loaded for; 0 when closed
    bool m_reloading = false;       // the editors are shown their cells again: no write-back
    std::optional<FocusNote> m_visit;
};

} // namespace grid
