#include "shell/filesearchkind.h"

#include "grid/gridhost.h"

#include <array>

namespace shell {

namespace {

const std::array<FileSearchKind, 3>& kinds()
{
    static const std::array<FileSearchKind, 3> table {{
        {grid::GridHost::Items, QStringLiteral("*.QVI"), QStringLiteral("Item Groups"),
         QStringLiteral("                      Total  Groups ")},
        {grid::GridHost::Contacts, QStringLiteral("*.QVC"), QStringLiteral("Contact Companies"),
         QStringLiteral("                      Total Companies")},
        {grid::GridHost::Transactions, QStringLiteral("*.QVT"), QStringLiteral("Transactions"),
         QStringLiteral("                      Total Transaction")},
    }};
    return table;
}

} // namespace

const FileSearchKind* fileSearchKind(const QString& activeList)
{
    for (const FileSearchKind& kind : kinds())
        if (kind.activeList == activeList)
            return &kind;
    return nullptr;
}

bool isListingCaption(const QString& caption)
{
    for (const FileSearchKind& kind : kinds())
        if (kind.listingCaption == caption)
            return true;
    return false;
}

} // namespace shell
