#include "grid/history/historystack.h"

#include "grid/history/celltextrecord.h"

#include <algorithm>

namespace grid {

void HistoryStack::push(std::unique_ptr<HistoryRecord> record)
{
    if (!record)
        return;
    if (const auto* text = dynamic_cast<const CellTextRecord*>(record.get())) {
        pushText(text->row(), text->column(), text->previous());
        return;
    }
    changed();
    m_recordCount += record->recordCount();
    Entry entry;
    entry.record = std::move(record);
    m_entries.push_back(std::move(entry));
}

void HistoryStack::pushText(int row, int column, QStringView previous)
{
    changed();
    Entry entry;
    entry.row = row;
    entry.column = column;
    entry.text = storeText(previous);
    entry.textLength = previous.size();
    m_entries.push_back(std::move(entry));
    ++m_recordCount;
}

// The text goes to the end of the last block, or to a new one when it does not fit there.
const QChar* HistoryStack::storeText(QStringView text)
{
    if (text.isEmpty())
        return nullptr;
    if (m_blocks.empty() || m_blocks.back().size - m_blocks.back().used < text.size()) {
        TextBlock block;
        block.size = std::max(TextBlockChars, text.size());
        block.chars = std::make_unique_for_overwrite<QChar[]>(size_t(block.size));
        m_blocks.push_back(std::move(block));
    }
    TextBlock& block = m_blocks.back();
    QChar* at = block.chars.get() + block.used;
    std::copy(text.begin(), text.end(), at);
    block.used += text.size();
    return at;
}

// The newest text step's text is the last one in the last block.
void HistoryStack::releaseText(const Entry& entry)
{
    if (entry.textLength == 0)
        return;
    TextBlock& block = m_blocks.back();
    block.used -= entry.textLength;
    if (block.used == 0)
        m_blocks.pop_back();
}

bool HistoryStack::isTextStep(int depth) const
{
    return depth >= 0 && depth < stepCount() && !fromTop(depth).record;
}

HistoryStack::TextStep HistoryStack::textStep(int depth) const
{
    const Entry& entry = fromTop(depth);
    return {entry.row, entry.column, textOf(entry)};
}

std::unique_ptr<HistoryRecord> HistoryStack::pop()
{
    if (m_entries.empty())
        return nullptr;
    Entry& entry = m_entries.back();
    std::unique_ptr<HistoryRecord> record = entry.record
        ? std::move(entry.record)
        : std::make_unique<CellTextRecord>(entry.row, entry.column, textOf(entry).toString());
    drop(1);
    return record;
}

void HistoryStack::drop(int count)
{
    changed();
    for (; count > 0 && !m_entries.empty(); --count) {
        const Entry& entry = m_entries.back();
        m_recordCount -= entry.record ? entry.record->recordCount() : 1;
        if (!entry.record)
            releaseText(entry);
        m_entries.pop_back();
    }
}

const HistoryRecord* HistoryStack::top() const
{
    if (m_entries.empty())
        return nullptr;
    const Entry& entry = m_entries.back();
    if (entry.record)
        return entry.record.get();
    if (!m_topRecord)
        m_topRecord = std::make_unique<CellTextRecord>(entry.row, entry.column, textOf(entry).toString());
    return m_topRecord.get();
}

void HistoryStack::clear()
{
    changed();
    std::deque<Entry>().swap(m_entries);
    std::vector<TextBlock>().swap(m_blocks);
    m_recordCount = 0;
}

QStringList HistoryStack::lines() const
{
    QStringList out;
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->record)
            out += it->record->lines();
        else
            out += CellTextRecord(it->row, it->column, textOf(*it).toString()).lines();
    }
    return out;
}

} // namespace grid
