#pragma once
// How the file search decides that a file name is a result: the wildcard pattern of the
// search window ("*.QVI") matched against the whole name without regard to letter case, and
// the rule that keeps transaction header files out of every result list.

#include <QStringView>

namespace shell {

// Whether the whole name matches the pattern: "*" stands for any run of characters (none
// included), "?" for exactly one, every other character for itself in either letter case.
bool matchesSearchPattern(QStringView name, QStringView pattern);

// Whether the name is a transaction header file's: it ends in "QVTH", letter case exact.
// Such files lie beside the transactions and are never listed, whatever the pattern.
bool isTransactionHeaderName(QStringView name);

} // namespace shell
