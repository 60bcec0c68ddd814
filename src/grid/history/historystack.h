#pragma once
// One of the grid's two history stacks (undo or redo): records newest on top, counted both as
// steps and as the text records they print as.

#include "grid/history/historyrecord.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace grid {

class HistoryStack {
public:
    void push(std::unique_ptr<HistoryRecord> record);
    // Takes the newest record off; null when the stack is empty.
    std::unique_ptr<HistoryRecord> pop();
    const HistoryRecord* top() const;
    bool isEmpty() const { return m_records.empty(); }
    void clear();

    // Steps: a group is one step.
    int stepCount() const { return int(m_records.size()); }
    // Text records: a group counts every line it prints as.
    int recordCount() const { return m_recordCount; }
    // The printed stack, newest first.
    QStringList lines() const;

private:
    std::vector<std::unique_ptr<HistoryRecord>> m_records; // newest last
    int m_recordCount = 0;
};

} // namespace grid
