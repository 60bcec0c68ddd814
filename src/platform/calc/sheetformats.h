#pragma once
// How the cells of the sheet being filled are formatted, where a written value depends on it,
// and the number formats that our values ask for: a typed number shown with the decimals it
// was typed with, and a date shown as the program writes dates everywhere else.

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/util/XNumberFormats.hpp>

#include <QString>
#include <map>
#include <vector>

namespace platform::calc {

class SheetFormats {
public:
    // What a cell's own number format says about the values written into it.
    enum class Cell {
        Standard, // the general format: the value decides how it shows
        Text,     // a text cell: everything written stays text as typed
        Date,     // a date or time format of its own, which a date keeps
        Own,      // another number format of its own (currency, percent, fixed decimals)
    };

    // A document to fill, with nothing yet known of its cells (as in a new workbook).
    void reset(const css::uno::Reference<css::lang::XComponent>& document);

    // Reads which parts of a sheet of an opened workbook have formats of their own.
    void read(const css::uno::Reference<css::sheet::XSpreadsheet>& sheet);

    // The format of a cell (1-based), as read; Standard where nothing was read.
    Cell at(int row, int column) const;

    // The format keys of a number with that many decimals, and of a date and time.
    sal_Int32 decimalsKey(int decimals);
    sal_Int32 dateKey();

private:
    struct Region {
        int top;
        int bottom;
        int left;
        int right;
        Cell kind;
    };

    Cell kindOf(sal_Int32 key) const;
    sal_Int32 key(const QString& code);

    css::uno::Reference<css::lang::XComponent> document_;
    css::uno::Reference<css::util::XNumberFormats> formats_;
    std::vector<Region> regions_;
    std::map<QString, sal_Int32> keys_;
};

} // namespace platform::calc
