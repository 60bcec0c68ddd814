// A workbook saved with its second sheet active is filled, read and printed on that sheet,
// as the forms and the import expect.

#include "officewatch.h"
#include "privatecups.h"

#include "platform/calc/calcspreadsheet.h"
#include "platform/calc/officeprocess.h"
#include "platform/calc/unostrings.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace css;
using platform::calc::toOUString;
using rtl::OUString;

namespace {

beans::PropertyValue property(const char* name, const uno::Any& value)
{
    beans::PropertyValue p;
    p.Name = OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

void setText(const uno::Reference<sheet::XSpreadsheet>& sheet, const QString& text)
{
    uno::Reference<text::XText>(sheet->getCellByPosition(0, 0), uno::UNO_QUERY_THROW)->setString(toOUString(text));
}

// Two sheets, "First" and "Second", each naming itself in A1; the second one active.
void writeTwoSheetWorkbook(const QString& path)
{
    platform::calc::OfficeProcess office;
    platform::calc::OfficeProcess::Launch launch;
    launch.program = QStringLiteral("/usr/lib/libreoffice/program/soffice");
    QString error;
    ASSERT_TRUE(office.start(launch, error)) << error.toStdString();
    const uno::Reference<lang::XComponent> doc =
        uno::Reference<frame::XComponentLoader>(office.desktop(), uno::UNO_QUERY_THROW)
            ->loadComponentFromURL(OUString("private:factory/scalc"), OUString("_blank"), 0,
                                   uno::Sequence<beans::PropertyValue>());
    const uno::Reference<sheet::XSpreadsheets> sheets =
        uno::Reference<sheet::XSpreadsheetDocument>(doc, uno::UNO_QUERY_THROW)->getSheets();
    const uno::Reference<container::XIndexAccess> byIndex(sheets, uno::UNO_QUERY_THROW);
    uno::Reference<container::XNamed>(byIndex->getByIndex(0), uno::UNO_QUERY_THROW)->setName(OUString("First"));
    sheets->insertNewByName(OUString("Second"), 1);
    const uno::Reference<sheet::XSpreadsheet> first(byIndex->getByIndex(0), uno::UNO_QUERY_THROW);
    const uno::Reference<sheet::XSpreadsheet> second(byIndex->getByIndex(1), uno::UNO_QUERY_THROW);
    setText(first, QStringLiteral("on First"));
    setText(second, QStringLiteral("on Second"));
    uno::Reference<sheet::XSpreadsheetView>(uno::Reference<frame::XModel>(doc, uno::UNO_QUERY_THROW)->getCurrentController(),
                                            uno::UNO_QUERY_THROW)
        ->setActiveSheet(second);
    const beans::PropertyValue filter = property("FilterName", uno::Any(OUString("MS Excel 97")));
    uno::Reference<frame::XStorable>(doc, uno::UNO_QUERY_THROW)
        ->storeToURL(toOUString(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)),
                     uno::Sequence<beans::PropertyValue>(&filter, 1));
    uno::Reference<util::XCloseable>(doc, uno::UNO_QUERY_THROW)->close(true);
}

} // namespace

TEST(ActiveSheet, TheSavedActiveSheetIsTheOneFilledAndRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("two sheets.xls"));
    writeTwoSheetWorkbook(path);
    for (const bool readOnly : {true, false}) {
        platform::calc::CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.openWorkbook(path, readOnly)) << calc.lastError().toStdString();
        EXPECT_EQ(calc.readCell(QStringLiteral("A1")), QStringLiteral("on Second"));
        calc.writeCell(QStringLiteral("B1"), QStringLiteral("filled"));
        EXPECT_EQ(calc.readCell(QStringLiteral("B1")), QStringLiteral("filled"));
    }
}

TEST(ActiveSheet, OnlyTheActiveSheetIsPrinted)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("two sheets.xls"));
    writeTwoSheetWorkbook(path);
    PrivateCups cups;
    if (!cups.start())
        GTEST_SKIP() << cups.error().toStdString();
    {
        platform::calc::CalcSpreadsheet calc;
        ASSERT_TRUE(calc.start()) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.openWorkbook(path, true)) << calc.lastError().toStdString();
        ASSERT_TRUE(calc.printActiveSheet(2, true)) << calc.lastError().toStdString();
    }
    // Two copies of the one page of the active sheet; both sheets would make four.
    EXPECT_EQ(cups.waitForPrintedPages(30000), 2);
    const QString printed = cups.outputText();
    EXPECT_TRUE(printed.contains(QStringLiteral("on Second"))) << printed.toStdString();
    EXPECT_FALSE(printed.contains(QStringLiteral("on First")));
}
