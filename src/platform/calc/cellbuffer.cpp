// Groups held cell writes into blocks.

#include "platform/calc/cellbuffer.h"

#include <algorithm>
#include <map>
#include <utility>

namespace platform::calc {

void CellBuffer::put(int row, int column, Value value)
{
    entries_.push_back(Entry{row, column, std::move(value)});
}

void CellBuffer::sortLatestLast()
{
    const auto before = [](const Entry& a, const Entry& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    };
    // Rows written in order, cells left to right, is the usual case: no sort needed.
    if (!std::is_sorted(entries_.begin(), entries_.end(), before))
        std::stable_sort(entries_.begin(), entries_.end(), before);
    // Of several writes to one cell, the stable sort keeps the latest last: keep only it.
    std::vector<Entry> unique;
    unique.reserve(entries_.size());
    for (Entry& e : entries_) {
        if (!unique.empty() && unique.back().row == e.row && unique.back().column == e.column)
            unique.back() = std::move(e);
        else
            unique.push_back(std::move(e));
    }
    entries_ = std::move(unique);
}

std::vector<CellBuffer::Block> CellBuffer::takeBlocks()
{
    sortLatestLast();
    std::vector<Block> blocks;
    // The block that each column span (first, last) grows downwards, while it still can.
    std::map<std::pair<int, int>, std::size_t> growing;
    std::size_t i = 0;
    while (i < entries_.size()) {
        // One run: consecutive cells of one row.
        std::size_t end = i + 1;
        while (end < entries_.size() && entries_[end].row == entries_[i].row
               && entries_[end].column == entries_[end - 1].column + 1)
            ++end;
        const int row = entries_[i].row;
        const std::pair<int, int> span{entries_[i].column, entries_[end - 1].column};
        const auto it = growing.find(span);
        Block* block = nullptr;
        if (it != growing.end() && blocks[it->second].firstRow + blocks[it->second].rows == row) {
            block = &blocks[it->second];
        } else {
            blocks.push_back(Block{row, span.first, 0, span.second - span.first + 1, {}});
            growing[span] = blocks.size() - 1;
            block = &blocks.back();
        }
        ++block->rows;
        for (std::size_t k = i; k < end; ++k)
            block->values.push_back(std::move(entries_[k].value));
        i = end;
    }
    entries_.clear();
    return blocks;
}

bool readsAsNumber(const QString& text, double& value, int& decimals)
{
    const qsizetype n = text.size();
    const QChar* c = text.constData();
    qsizetype i = 0;
    if (i < n && c[i] == QLatin1Char('-'))
        ++i;
    const auto digit = [&](qsizetype at) { return at < n && c[at].unicode() >= '0' && c[at].unicode() <= '9'; };
    const qsizetype firstDigit = i;
    while (digit(i))
        ++i;
    const qsizetype wholeDigits = i - firstDigit;
    if (wholeDigits == 0 || (wholeDigits > 1 && c[firstDigit] == QLatin1Char('0')))
        return false;
    qsizetype fraction = 0;
    if (i < n) {
        if (c[i] != QLatin1Char('.'))
            return false;
        const qsizetype firstFraction = ++i;
        while (digit(i))
            ++i;
        fraction = i - firstFraction;
        if (fraction == 0 || i < n)
            return false;
    }
    // Beyond 15 digits a double no longer holds the number as written.
    if (wholeDigits + fraction > 15)
        return false;
    bool ok = false;
    value = text.toDouble(&ok);
    // "-0" would show as "0": keep it as text.
    if (!ok || (value == 0 && c[0] == QLatin1Char('-')))
        return false;
    decimals = int(fraction);
    return true;
}

} // namespace platform::calc
