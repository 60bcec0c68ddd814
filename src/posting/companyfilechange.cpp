#include "posting/companyfilechange.h"

#include "posting/companyfile.h"

#include <algorithm>

namespace posting {

CompanyFileChange CompanyFileChange::between(const QString& path, const QByteArray& read, const QByteArray& now)
{
    CompanyFileChange change;
    if (read == now) {
        // Written again as it was.
        change.m_readable = change.m_onlyBalances = true;
        return change;
    }
    CompanyFile before;
    CompanyFile after;
    if (!before.open(path, read) || !after.open(path, now))
        return change;
    change.m_readable = true;
    const int rows = std::min(before.rowCount(), after.rowCount());
    for (int row = 1; row <= rows; ++row) {
        const QString contact = before.contactName(row);
        if (contact != after.contactName(row))
            continue;
        const QString was = before.balanceText(row);
        const QString is = after.balanceText(row);
        if (was != is)
            change.m_moved.push_back({row, contact, was, is});
    }
    // The file as read, with the balances set as the postings set them, written as they
    // write it: the same bytes as now when nothing else was changed.
    for (const MovedBalance& moved : change.m_moved)
        before.setBalanceText(moved.row, moved.after);
    change.m_onlyBalances = before.rowCount() == after.rowCount() && before.bytes() == now;
    return change;
}

} // namespace posting
