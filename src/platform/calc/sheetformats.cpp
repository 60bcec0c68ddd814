// Reads the formatted parts of a sheet and finds or adds the number formats we write with.

#include "platform/calc/sheetformats.h"

#include "platform/calc/dateformatcode.h"
#include "platform/calc/unostrings.h"
#include "platform/vb.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XUniqueCellFormatRangesSupplier.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

using namespace css;

namespace platform::calc {

namespace {

// Our formats are written and shown with English conventions, "." before the decimals,
// whatever language the office or the workbook has, as the program writes numbers.
lang::Locale english()
{
    return lang::Locale(OUString("en"), OUString("US"), OUString());
}

} // namespace

void SheetFormats::reset(const uno::Reference<lang::XComponent>& document)
{
    document_ = document;
    formats_.clear();
    regions_.clear();
    keys_.clear();
    const uno::Reference<util::XNumberFormatsSupplier> supplier(document, uno::UNO_QUERY);
    if (supplier.is())
        formats_ = supplier->getNumberFormats();
}

void SheetFormats::read(const uno::Reference<sheet::XSpreadsheet>& sheet)
{
    regions_.clear();
    if (!formats_.is())
        return;
    // Each entry holds the parts of the sheet that share one set of cell attributes.
    const uno::Reference<container::XIndexAccess> groups =
        uno::Reference<sheet::XUniqueCellFormatRangesSupplier>(sheet, uno::UNO_QUERY_THROW)->getUniqueCellFormatRanges();
    for (sal_Int32 i = 0; i < groups->getCount(); ++i) {
        const uno::Reference<sheet::XSheetCellRanges> ranges(groups->getByIndex(i), uno::UNO_QUERY_THROW);
        sal_Int32 key = 0;
        uno::Reference<beans::XPropertySet>(ranges, uno::UNO_QUERY_THROW)->getPropertyValue(OUString("NumberFormat")) >>= key;
        const Cell kind = kindOf(key);
        if (kind == Cell::Standard)
            continue;
        for (const table::CellRangeAddress& a : ranges->getRangeAddresses())
            regions_.push_back(Region{a.StartRow + 1, a.EndRow + 1, a.StartColumn + 1, a.EndColumn + 1, kind});
    }
}

SheetFormats::Cell SheetFormats::kindOf(sal_Int32 key) const
{
    try {
        const uno::Reference<beans::XPropertySet> format = formats_->getByKey(key);
        sal_Int16 type = 0;
        format->getPropertyValue(OUString("Type")) >>= type;
        if (type & util::NumberFormat::TEXT)
            return Cell::Text;
        if (type & (util::NumberFormat::DATE | util::NumberFormat::TIME))
            return Cell::Date;
        lang::Locale locale;
        format->getPropertyValue(OUString("Locale")) >>= locale;
        const uno::Reference<util::XNumberFormatTypes> types(formats_, uno::UNO_QUERY_THROW);
        return types->getStandardIndex(locale) == key ? Cell::Standard : Cell::Own;
    } catch (const uno::Exception&) {
        return Cell::Standard; // a key the document does not know formats nothing
    }
}

SheetFormats::Cell SheetFormats::at(int row, int column) const
{
    for (const Region& r : regions_)
        if (row >= r.top && row <= r.bottom && column >= r.left && column <= r.right)
            return r.kind;
    return Cell::Standard;
}

sal_Int32 SheetFormats::key(const QString& code)
{
    const auto known = keys_.find(code);
    if (known != keys_.end())
        return known->second;
    const OUString text = toOUString(code);
    sal_Int32 k = formats_->queryKey(text, english(), false);
    if (k < 0)
        k = formats_->addNew(text, english());
    keys_.emplace(code, k);
    return k;
}

sal_Int32 SheetFormats::decimalsKey(int decimals)
{
    return key(QStringLiteral("0.") + QString(decimals, QLatin1Char('0')));
}

sal_Int32 SheetFormats::dateKey()
{
    return key(officeDateCode(vb::GeneralDateFormat()));
}

} // namespace platform::calc
