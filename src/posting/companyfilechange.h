#pragma once
// What was written into a contact company file since a window read it, told apart the way a
// window's Save needs it: the balances that moved (rows that hold the same contact in both
// versions, with another balance text now) and whether the file is otherwise the one the
// window read. A posting changes nothing in a company file but balance cells, and writes the
// rest byte for byte as it found it; so a file that is the one read with only its balances
// moved is exactly what the postings make of it, and anything else was written by someone
// who saved the file itself.

#include <QByteArray>
#include <QString>
#include <vector>

namespace posting {

class CompanyFileChange {
public:
    struct MovedBalance {
        int row = 0;
        QString contact; // the contact on that row, in both versions
        QString before;  // the balance text as the window read it
        QString after;   // the balance text on disk now
        bool operator==(const MovedBalance&) const = default;
    };

    // Compares the bytes a window read from the file at path with its bytes now.
    [[nodiscard]] static CompanyFileChange between(const QString& path, const QByteArray& read,
                                                   const QByteArray& now);

    // Whether both versions read as company files; nothing else is told otherwise.
    bool readable() const { return m_readable; }
    // The moved balances, by row.
    const std::vector<MovedBalance>& moved() const { return m_moved; }
    // Whether the file now is the one read with those balances moved and nothing else changed.
    bool onlyBalancesMoved() const { return m_onlyBalances; }

private:
    bool m_readable = false;
    bool m_onlyBalances = false;
    std::vector<MovedBalance> m_moved;
};

} // namespace posting
