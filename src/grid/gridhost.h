#pragma once
// The program around a grid: the settings store's ActiveList, which names the document window
// a grid acts on, and the document windows by name. The windows' side implements it.

#include "grid/gridwindow.h"

#include <QString>

namespace grid {

class GridHost {
public:
    virtual ~GridHost() = default;

    // The names ActiveList holds for the three document windows; any other caption names no
    // window that a grid acts on.
    static inline const QString Items = QStringLiteral("frmItems");
    static inline const QString Contacts = QStringLiteral("frmContacts");
    static inline const QString Transactions = QStringLiteral("frmTransactions");

    // The caption of the settings store's ActiveList.
    virtual QString ActiveList() const = 0;
    // The document window of that exact name, or nullptr when it has not been opened.
    virtual GridWindow* window(const QString& name) = 0;

    // The window ActiveList names, when it names one of the three document windows.
    GridWindow* activeWindow()
    {
        const QString active = ActiveList();
        if (active == Items || active == Contacts || active == Transactions)
            return window(active);
        return nullptr;
    }
    // Whether the named window has been opened and is shown.
    bool isVisible(const QString& name)
    {
        const GridWindow* w = window(name);
        return w && w->Visible();
    }
};

} // namespace grid
