#pragma once
// One step of the grid's edit history: the values from before a change, kept structured, that
// can put the grid back (undo) or make the change again (redo). Its printed form is the tag
// and payload layout of the history's text records.

#include "grid/gridcell.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace grid {

class GridCore;

class HistoryRecord {
public:
    virtual ~HistoryRecord() = default;

    // The eight-character tag, e.g. "#SETTXT#".
    virtual QString tag() const = 0;
    // The printed form: one line per text record, the newest (top) first. A single record is
    // its tag followed by its payload; a group prints its start record, one line per row and
    // its end record.
    virtual QStringList lines() const;
    QString toText() const { return lines().join(QLatin1Char('\n')); }
    // How many text records the printed form holds (a group holds its rows plus two).
    virtual int recordCount() const { return 1; }

    // Replays of this record. The grid members they call record the counterpart step on the
    // other stack; a direction in which a record cannot occur does nothing.
    virtual void undo(GridCore&) const {}
    virtual void redo(GridCore&) const {}

protected:
    // The payload of a single record, after its tag.
    virtual QString payload() const { return QString(); }

    // What replays may do to the grid beyond its public members.
    static bool cellExists(const GridCore& grid, int row, int column);
    static void writeCell(GridCore& grid, int row, int column, const GridCell& cell);
    static void pushCounterpart(GridCore& grid, std::unique_ptr<HistoryRecord> record);
    static int dropLastRows(GridCore& grid, int count);
    static void restoreRowCount(GridCore& grid, int count);

    // Keeps the grid's column history off while it lives: the column members a replay calls
    // record nothing, and the flag is off again however the replay ends, a failure included.
    class ColumnHistoryOff {
    public:
        explicit ColumnHistoryOff(GridCore& grid);
        ~ColumnHistoryOff();
        ColumnHistoryOff(const ColumnHistoryOff&) = delete;
        ColumnHistoryOff& operator=(const ColumnHistoryOff&) = delete;

    private:
        GridCore& m_grid;
    };

private:
    static void setColumnHistoryOff(GridCore& grid, bool off);
};

} // namespace grid
