#pragma once
// One of the grid's two history stacks (undo or redo): records newest on top, counted both as
// steps and as the text records they print as.
//
// Text changes ("#SETTXT#") are by far the most common steps, and a replace-all makes one for
// every replacement, millions of them in a large document. So they are not kept as record
// objects: each is a row, a column and a span of the stack's text blocks, which fill and
// empty at the top as the stack does. A replay that moves many steps from one stack to the
// other frees blocks on one side as fast as it fills them on the other. A text step taken off
// the stack by pop() or looked at by top() comes out as its record.

#include "grid/history/historyrecord.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <deque>
#include <memory>
#include <vector>

namespace grid {

class HistoryStack {
public:
    void push(std::unique_ptr<HistoryRecord> record);
    // A "#SETTXT#" step: the cell and its text from before the change.
    void pushText(int row, int column, QStringView previous);
    // Takes the newest record off; null when the stack is empty.
    std::unique_ptr<HistoryRecord> pop();
    // The newest record, valid until the stack changes; null when the stack is empty.
    const HistoryRecord* top() const;
    bool isEmpty() const { return m_entries.empty(); }
    void clear();

    // Steps: a group is one step.
    int stepCount() const { return int(m_entries.size()); }
    // Text records: a group counts every line it prints as.
    int recordCount() const { return m_recordCount; }
    // The printed stack, newest first.
    QStringList lines() const;

    // The text steps on top, for a replay that takes many at once: `depth` 0 is the newest
    // step. A text step's text stays valid until the stack changes.
    struct TextStep {
        int row = 0;
        int column = 0;
        QStringView previous;
    };
    bool isTextStep(int depth) const;
    TextStep textStep(int depth) const;
    // Takes the newest `count` steps off without handing them out.
    void drop(int count);

private:
    struct Entry {
        std::unique_ptr<HistoryRecord> record; // null for a text step
        int row = 0;
        int column = 0;
        const QChar* text = nullptr; // a text step's text, at the end of the last text block
        qsizetype textLength = 0;
    };
    struct TextBlock {
        std::unique_ptr<QChar[]> chars;
        qsizetype size = 0;
        qsizetype used = 0;
    };
    // Small enough that a freed block goes back to the heap for the next one to take.
    static constexpr qsizetype TextBlockChars = 16 * 1024;

    const Entry& fromTop(int depth) const { return m_entries[m_entries.size() - 1 - size_t(depth)]; }
    static QStringView textOf(const Entry& entry) { return QStringView(entry.text, entry.textLength); }
    const QChar* storeText(QStringView text);
    void releaseText(const Entry& entry);
    void changed() { m_topRecord.reset(); }

    std::deque<Entry> m_entries; // newest last
    std::vector<TextBlock> m_blocks;
    int m_recordCount = 0;
    mutable std::unique_ptr<HistoryRecord> m_topRecord; // top()'s record of a text step
};

} // namespace grid
