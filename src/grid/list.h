#pragma once
// List: the grid control as a widget. It shows a GridCore (rows, cells, columns, history),
// draws the header strip, the row-number gutter, the column bodies and its own scroll bars,
// and handles the mouse over them; callers use the control's members by name.
//
// Geometry is kept as numbers that tests can read (measures(), gridLayout(), scrollBars(),
// columnLeftOnGrid()); painting only reads them. Drawing covers the visible rows only.
//
// Selection and in-cell editing belong to a GridSelection that the widget owns: it lays one
// cell editor per column over the selected row; the widget supplies its measures through the
// SelectionView interface, paints the column bodies in the colours the selection gives them
// and the row marker where it puts it, and moves the editors along when it scrolls.

#include "grid/columnhittest.h"
#include "grid/gridcore.h"
#include "grid/gridlayout.h"
#include "grid/gridmeasures.h"
#include "grid/gridview.h"
#include "grid/scrollmath.h"
#include "grid/selectionview.h"

#include <QFont>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

class QLabel;

namespace grid {

class cmdButton;
class GridHost;
class GridSelection;

class List : public QWidget, public GridView, public SelectionView {
    Q_OBJECT
public:
    explicit List(QWidget* parent = nullptr);
    ~List() override;

    GridCore& core() { return core_; }
    const GridCore& core() const { return core_; }
    GridSelection& selection() { return *selection_; }
    void setHost(GridHost* host);

    // ---- State (by the control's names)
    int ListCount() const { return core_.ListCount(); }
    int ColumnCount() const { return core_.ColumnCount(); }
    int iSelected() const { return core_.iSelected(); }
    int EditColumn() const { return core_.EditColumn(); }
    int ScrollTop() const { return core_.ScrollTop(); }
    bool DoNotRender() const { return core_.DoNotRender(); }
    void setDoNotRender(bool on) { core_.setDoNotRender(on); }
    uint32_t BorderColor() const { return core_.colors().BorderColor; }
    uint32_t SelectedColor() const { return core_.colors().SelectedColor; }
    uint32_t SelectedRowColor() const { return core_.colors().SelectedRowColor; }
    int MouseX = 0;
    int MouseY = 0;

    // ---- Rows, cells, columns and history, delegated to the core
    int AddRow(const QString& St1 = QString(), int Index = 0) { return core_.AddRow(St1, Index); }
    void AddMoreThanOneRow(int NumberOfRows) { core_.AddMoreThanOneRow(NumberOfRows); }
    void RemoveItem(int Index, bool NeIzrisi = false) { core_.RemoveItem(Index, NeIzrisi); }
    void Clear() { core_.Clear(); }
    void ClearEntireList() { core_.ClearEntireList(); }
    QString GetItem(int line, int Colum) const { return core_.GetItem(line, Colum); }
    void ChangeItem(int Row, int Column, const QString& Text) { core_.ChangeItem(Row, Column, Text); }
    bool GetItallic(int line, int Column) const { return core_.GetItallic(line, Column); }
    bool GetUnderlined(int line, int Column) const { return core_.GetUnderlined(line, Column); }
    uint32_t GetColor(int line, int Column) const { return core_.GetColor(line, Column); }
    void SetBold(int line, int Column, bool Vrednost) { core_.SetBold(line, Column, Vrednost); }
    void SetItallic(int line, int Column, bool Vrednost) { core_.SetItallic(line, Column, Vrednost); }
    void SetUnderlined(int line, int Column, bool Vrednost) { core_.SetUnderlined(line, Column, Vrednost); }
    void SetColor(int line, int Column, uint32_t Vrednost) { core_.SetColor(line, Column, Vrednost); }
    void AddColumn(int Index, int Width, const QString& HeaderTitle) { core_.AddColumn(Index, Width, HeaderTitle); }
    void RemoveColumn(int Index) { core_.RemoveColumn(Index); }
    int GetWidthColumn(int Index) const { return core_.GetWidthColumn(Index); }
    void LetWidthColumn(int Index, int Width) { core_.LetWidthColumn(Index, Width); }
    QString GetColumnHeader(int Index) const { return core_.GetColumnHeader(Index); }
    void SetColumnHeader(int Index, const QString& NovNaslov) { core_.SetColumnHeader(Index, NovNaslov); }
    void DisableEdit(int Stol) { core_.DisableEdit(Stol); }
    void EnableEdit(int Stol) { core_.EnableEdit(Stol); }
    bool undo(int Number = 1, int* NumberUsed = nullptr) { return core_.undo(Number, NumberUsed); }
    bool redo(int Number = 1, int* NumberUsed = nullptr) { return core_.redo(Number, NumberUsed); }
    void ClearUndoRedo() { core_.ClearUndoRedo(); }

    // ---- Drawing and scroll bars
    void RenderColumn(int Stol) { core_.RenderColumn(Stol); }
    void SetScrollers();

    // ---- Selection, delegated to the GridSelection
    void SelectItem(int Index, int Button, int iX = 0);
    void DeselectRow();
    void COLUMNUMBER();

    // ---- Geometry, as numbers
    GridMeasures measures() const;
    GridLayout gridLayout() const { return GridLayout::of(measures()); }
    const ScrollBarState& scrollBars() const { return bars_; }
    int gutterWidth() const override { return gutterWidth_; }
    double areaLeft() const { return areaLeft_; }
    int areaWidth() const { return core_.columnAreaWidth(); }
    // Left edge of column k on the control.
    double columnLeftOnGrid(int k) const { return areaLeft_ + core_.columnLeft(k); }
    ColumnHitTest hitTest() const;
    uint32_t columnBackColor(int k) const;
    bool splitterVisible() const { return splitterVisible_; }
    int splitterLeft() const { return splitterLeft_; }
    int splitterColumn() const { return splitterColumn_; }
    // The pointer shape: 0 default, 9 west-east sizing.
    int MousePointer() const { return mousePointer_; }
    // The selected row's marker in the gutter: its top within the gutter and its number.
    bool rowMarkerVisible() const { return rowMarkerVisible_; }
    int rowMarkerTop() const { return rowMarkerTop_; }
    int rowMarkerRow() const { return rowMarkerRow_; }
    const QFont& cellFont(bool bold = false, bool italic = false, bool underline = false) const;
    // The distance from a line's top to its text baseline in that font.
    int cellAscent(bool bold = false, bool italic = false, bool underline = false) const;

    // ---- The constituent buttons and the auto-repeat timer
    cmdButton* btnGor() const { return arrows_[0]; }
    cmdButton* btnDol() const { return arrows_[1]; }
    cmdButton* btnLevo() const { return arrows_[2]; }
    cmdButton* btnDesno() const { return arrows_[3]; }
    cmdButton* DrsnikV() const { return thumbV_; }
    cmdButton* DrsnikH() const { return thumbH_; }
    QLabel* BtnImg(int k) const { return images_[k]; }
    QTimer& tmrScroll() { return tmrScroll_; }
    const QString& tmrScrollTag() const { return tmrScrollTag_; }
    // One tick of the auto-repeat timer: one step in the direction of the held arrow.
    void tmrScroll_Timer();

    // ---- GridView
    void renderColumn(int Stol) override;
    void setScrollers() override { SetScrollers(); }
    void fitCounterColumn() override { FitCounterColumn(); }
    void deselectRow() override { DeselectRow(); }
    void columnsChanged(int first) override;
    void rowsChanged(int first) override;
    void changeBegins() override;
    void changeEnded() override;
    void columnCaptionChanged(int index) override;
    void columnEditChanged(int index) override;
    void resetHorizontalScroll() override;
    void contentChanged() override { emit contentEdited(); }
    void activeCellChanged() override { emit activeCellMoved(); }
    int rowAreaHeight() const override { return height() - Size::Header - Size::Strip; }

    // ---- SelectionView
    QWidget* editorParent() override { return this; }
    int gridWidth() const override { return width(); }
    int gridHeight() const override { return height(); }
    int headerHeight() const override { return Size::Header; }
    int vScrollWidth() const override { return Size::Strip; }
    int hScrollHeight() const override { return Size::Strip; }
    int columnAreaLeft() const override;
    void setColumnAreaLeft(int left) override { setAreaLeft(left); }
    uint32_t columnBodyColor(int k) const override { return columnBackColor(k); }
    void setColumnBodyColor(int k, uint32_t color) override;
    void showRowMarker(int top, int row) override;
    void hideRowMarker() override;
    void focusScrollBar() override;
    void setDefaultPointer() override { setMousePointer(0); }
    void repaintGrid() override { update(); }

signals:
    // A key the grid does not handle itself (see GridSelection).
    void GridKeyDown(int KeyCode, int Shift, int SelectedRow, int SelectedColumn);
    // The document's content changed, by whatever route: typing or the editor's own menu in a
    // cell, a key, a grid member, undo, redo, a reader or the spreadsheet import.
    void contentEdited();
    // The selected row or the active column took another value.
    void activeCellMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Region { None, Body, Gutter, VerticalStrip, HorizontalStrip, Corner };

    // The arrow picture's offset in a raised arrow, and the auto-repeat's tick after the
    // first delay.
    static constexpr int RestImageOffset = 3;
    static constexpr int RepeatInterval = 50;

    void buildButtons();
    void placeChildren();
    void FitCounterColumn();
    void anchorColumnArea();
    void setAreaLeft(double left);
    void setMousePointer(int shape);
    void showThumb(cmdButton* thumb, const Thumb& state, bool vertical);
    void setArrowEnabled(cmdButton* arrow, bool enabled);

    // Layout of the parts when the size changes.
    void UserControl_Resize();

    // Mouse over the header strip and the column area.
    void UserControl_MouseDown(int Button, double X, double Y);
    void UserControl_MouseMove(int Button, double X, double Y);
    void UserControl_MouseUp(int Button, double X, double Y);
    // The two scroll strips and the corner.
    void PicScrV_MouseDown(int Button, double y);
    void PicScrV_MouseMove(int Button, double y);
    void PicScrH_MouseDown(int Button, double x);
    void PicScrH_MouseMove(int Button, double x);
    void reselectRow();
    // The arrows.
    void arrowMouseDown(int k, int Button);
    void arrowMouseUp();
    // Stops the auto-repeat and shows every arrow raised.
    void stopRepeat();
    void arrowEnabledChanged(int k, bool enabled);
    void afterVerticalStep();
    void afterHorizontalStep();
    void moveEditors();

    Region regionAt(QPointF p) const;
    void dispatchPress(Region region, int Button, QPointF p);
    void dispatchMove(Region region, int Button, QPointF p);
    void dispatchRelease(Region region, int Button, QPointF p);

    GridCore core_;
    int gutterWidth_ = 0;
    double areaLeft_ = 0;
    int lastAreaWidth_ = 0;
    int lastViewHeight_ = 0;
    ScrollBarState bars_;
    std::array<uint32_t, GridCore::MaxColumns + 1> columnBack_{};
    bool rowMarkerVisible_ = false;
    int rowMarkerTop_ = 0;
    int rowMarkerRow_ = 0;
    bool splitterVisible_ = false;
    int splitterLeft_ = 0;
    int splitterColumn_ = 0;
    int mousePointer_ = 0;
    Region capture_ = Region::None;

    std::array<cmdButton*, 4> arrows_{};
    std::array<QLabel*, 4> images_{};
    cmdButton* thumbV_ = nullptr;
    cmdButton* thumbH_ = nullptr;
    QWidget* scrollBarFocus_ = nullptr; // takes the focus for PicScrV
    std::unique_ptr<GridSelection> selection_;
    QTimer tmrScroll_;
    QString tmrScrollTag_;
    std::array<QFont, 8> fonts_;     // by bold + 2 italic + 4 underline
    std::array<int, 8> ascents_{};
};

} // namespace grid
