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
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (kept > 0 && entries_[kept - 1].row == entries_[i].row && entries_[kept - 1].column == entries_[i].column)
            entries_[kept - 1] = std::move(entries_[i]);
        else if (kept++ != i)
            entries_[kept - 1] = std::move(entries_[i]);
    }
    entries_.resize(kept);
}

std::vector<CellBuffer::Block> CellBuffer::takeBlocks()
{
    sortLatestLast();
    // First the blocks' shapes: each run of consecutive cells of one row joins the block
    // that its column span (first, last) grows downwards, while it still can.
    struct Run {
        std::size_t begin;
        std::size_t end;
        std::size_t block;
    };
    std::vector<Run> runs;
    std::vector<Block> blocks;
    std::map<std::pair<int, int>, std::size_t> growing;
    for (std::size_t i = 0; i < entries_.size();) {
        std::size_t end = i + 1;
        while (end < entries_.size() && entries_[end].row == entries_[i].row
               && entries_[end].column == entries_[end - 1].column + 1)
            ++end;
        const int row = entries_[i].row;
        const std::pair<int, int> span{entries_[i].column, entries_[end - 1].column};
        const auto it = growing.find(span);
        std::size_t index = 0;
        if (it != growing.end() && blocks[it->second].firstRow + blocks[it->second].rows == row) {
            index = it->second;
        } else {
            blocks.push_back(Block{row, span.first, 0, span.second - span.first + 1, {}});
            index = blocks.size() - 1;
            growing[span] = index;
        }
        ++blocks[index].rows;
        runs.push_back(Run{i, end, index});
        i = end;
    }
    // Then the values, moved once into blocks of their final size.
    for (Block& block : blocks)
        block.values.reserve(std::size_t(block.rows) * std::size_t(block.columns));
    for (const Run& run : runs)
        for (std::size_t k = run.begin; k < run.end; ++k)
            blocks[run.block].values.push_back(std::move(entries_[k].value));
    entries_.clear(); // keeps its room for the next writes
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
