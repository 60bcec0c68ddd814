#include "grid/history/historystack.h"

namespace grid {

void HistoryStack::push(std::unique_ptr<HistoryRecord> record)
{
    if (!record)
        return;
    m_recordCount += record->recordCount();
    m_records.push_back(std::move(record));
}

std::unique_ptr<HistoryRecord> HistoryStack::pop()
{
    if (m_records.empty())
        return nullptr;
    std::unique_ptr<HistoryRecord> record = std::move(m_records.back());
    m_records.pop_back();
    m_recordCount -= record->recordCount();
    return record;
}

const HistoryRecord* HistoryStack::top() const
{
    return m_records.empty() ? nullptr : m_records.back().get();
}

void HistoryStack::clear()
{
    std::vector<std::unique_ptr<HistoryRecord>>().swap(m_records);
    m_recordCount = 0;
}

QStringList HistoryStack::lines() const
{
    QStringList out;
    for (auto it = m_records.rbegin(); it != m_records.rend(); ++it)
        out += (*it)->lines();
    return out;
}

} // namespace grid
