// maketemplates: writes the program's own form templates, "Item Form.xls", "Contact Form.xls",
// "Transaction Form.xls" and "Payment Form.xls", below the given resources folder.
//
//   maketemplates <repository>/resources
//
// Each form carries labels beside the cells the program fills and prints on one A4 page.
// The program writes only the filled cells; everything else here is the form's own.

#include "platform/brokenpipe.h"
#include "platform/calc/calcoptions.h"
#include "platform/calc/officeprocess.h"
#include "platform/calc/unoarguments.h"

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/table/BorderLine2.hpp>
#include <com/sun/star/table/CellHoriJustify.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XMergeable.hpp>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <functional>

using namespace css;
using platform::calc::OfficeProcess;
using platform::calc::fileUrl;
using platform::calc::properties;
using platform::calc::property;
using platform::calc::toOUString;
using rtl::OUString;

namespace {

const QString companyLines[] = {
    QStringLiteral("Company name"), QStringLiteral("Address"), QStringLiteral("City"), QStringLiteral("Zip code"),
    QStringLiteral("E-mail"), QStringLiteral("Fax"), QStringLiteral("Phone"),
};

// One form being drawn: a new workbook with a single sheet named "Form".
class Form {
public:
    explicit Form(const uno::Reference<frame::XDesktop2>& desktop)
    {
        const uno::Reference<frame::XComponentLoader> loader(desktop, uno::UNO_QUERY_THROW);
        doc_ = loader->loadComponentFromURL(OUString("private:factory/scalc"), OUString("_blank"), 0,
                                            properties({property("Hidden", uno::Any(true))}));
        const uno::Reference<sheet::XSpreadsheetDocument> spreadsheet(doc_, uno::UNO_QUERY_THROW);
        const uno::Reference<container::XIndexAccess> sheets(spreadsheet->getSheets(), uno::UNO_QUERY_THROW);
        sheet_.set(sheets->getByIndex(0), uno::UNO_QUERY_THROW);
        uno::Reference<container::XNamed>(sheet_, uno::UNO_QUERY_THROW)->setName(OUString("Form"));
    }

    ~Form()
    {
        const uno::Reference<util::XCloseable> closeable(doc_, uno::UNO_QUERY);
        if (closeable.is())
            closeable->close(true);
    }

    uno::Reference<beans::XPropertySet> cell(const char* address)
    {
        const uno::Reference<table::XCellRange> range = sheet_->getCellRangeByName(OUString::createFromAscii(address));
        return uno::Reference<beans::XPropertySet>(range->getCellByPosition(0, 0), uno::UNO_QUERY_THROW);
    }

    uno::Reference<beans::XPropertySet> range(const char* address)
    {
        return uno::Reference<beans::XPropertySet>(sheet_->getCellRangeByName(OUString::createFromAscii(address)),
                                                   uno::UNO_QUERY_THROW);
    }

    // A label or heading: text, optionally bold and larger.
    void text(const char* address, const QString& text, bool bold = false, float size = 10)
    {
        const uno::Reference<beans::XPropertySet> props = cell(address);
        uno::Reference<text::XText>(props, uno::UNO_QUERY_THROW)->setString(toOUString(text));
        if (bold)
            props->setPropertyValue(OUString("CharWeight"), uno::Any(float(awt::FontWeight::BOLD)));
        if (size != 10)
            props->setPropertyValue(OUString("CharHeight"), uno::Any(size));
    }

    // A cell the program fills: left-aligned, underlined by a thin line to write on.
    void field(const char* address, bool bold = false)
    {
        const uno::Reference<beans::XPropertySet> props = range(address);
        props->setPropertyValue(OUString("HoriJustify"), uno::Any(table::CellHoriJustify_LEFT));
        table::BorderLine2 line;
        line.Color = 0x808080;
        line.OuterLineWidth = 10;
        line.LineWidth = 10;
        props->setPropertyValue(OUString("BottomBorder"), uno::Any(line));
        if (bold)
            props->setPropertyValue(OUString("CharWeight"), uno::Any(float(awt::FontWeight::BOLD)));
    }

    // One cell spread over the range, for a value wider than its column.
    void merge(const char* address)
    {
        uno::Reference<util::XMergeable>(sheet_->getCellRangeByName(OUString::createFromAscii(address)), uno::UNO_QUERY_THROW)
            ->merge(true);
    }

    void boldRange(const char* address)
    {
        range(address)->setPropertyValue(OUString("CharWeight"), uno::Any(float(awt::FontWeight::BOLD)));
    }

    // Widths in millimetres, from column A on.
    void columnWidths(std::initializer_list<int> mm)
    {
        const uno::Reference<table::XColumnRowRange> cr(sheet_, uno::UNO_QUERY_THROW);
        const uno::Reference<container::XIndexAccess> columns(cr->getColumns(), uno::UNO_QUERY_THROW);
        int i = 0;
        for (int w : mm) {
            const uno::Reference<beans::XPropertySet> column(columns->getByIndex(i++), uno::UNO_QUERY_THROW);
            column->setPropertyValue(OUString("Width"), uno::Any(sal_Int32(w * 100)));
        }
    }

    void rowHeight(int row, int hundredthsMm)
    {
        const uno::Reference<table::XColumnRowRange> cr(sheet_, uno::UNO_QUERY_THROW);
        const uno::Reference<container::XIndexAccess> rows(cr->getRows(), uno::UNO_QUERY_THROW);
        const uno::Reference<beans::XPropertySet> r(rows->getByIndex(row - 1), uno::UNO_QUERY_THROW);
        r->setPropertyValue(OUString("Height"), uno::Any(sal_Int32(hundredthsMm)));
    }

    // A4, margins of 15 mm, no header or footer, scaled to one page wide (and tall, when
    // tall is set).
    void pageSetup(bool landscape, bool oneTall)
    {
        const uno::Reference<style::XStyleFamiliesSupplier> families(doc_, uno::UNO_QUERY_THROW);
        const uno::Reference<container::XNameAccess> pageStyles(
            families->getStyleFamilies()->getByName(OUString("PageStyles")), uno::UNO_QUERY_THROW);
        const uno::Reference<beans::XPropertySet> page(pageStyles->getByName(OUString("Default")), uno::UNO_QUERY_THROW);
        page->setPropertyValue(OUString("IsLandscape"), uno::Any(landscape));
        page->setPropertyValue(OUString("Width"), uno::Any(sal_Int32(landscape ? 29700 : 21000)));
        page->setPropertyValue(OUString("Height"), uno::Any(sal_Int32(landscape ? 21000 : 29700)));
        for (const char* margin : {"LeftMargin", "RightMargin", "TopMargin", "BottomMargin"})
            page->setPropertyValue(OUString::createFromAscii(margin), uno::Any(sal_Int32(1500)));
        page->setPropertyValue(OUString("HeaderIsOn"), uno::Any(false));
        page->setPropertyValue(OUString("FooterIsOn"), uno::Any(false));
        page->setPropertyValue(OUString("ScaleToPagesX"), uno::Any(sal_Int16(1)));
        page->setPropertyValue(OUString("ScaleToPagesY"), uno::Any(sal_Int16(oneTall ? 1 : 0)));
    }

    void store(const QString& path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        uno::Reference<frame::XStorable>(doc_, uno::UNO_QUERY_THROW)
            ->storeToURL(fileUrl(path), properties({property("FilterName", uno::Any(OUString("MS Excel 97"))),
                                                    property("Overwrite", uno::Any(true))}));
    }

private:
    uno::Reference<lang::XComponent> doc_;
    uno::Reference<sheet::XSpreadsheet> sheet_;
};

QByteArray cellName(char column, int row)
{
    return QByteArray(1, column) + QByteArray::number(row);
}

// The company block: placeholders in column (e.g. 'B') from the first row down, the name
// bold and larger. The program replaces every line.
void companyBlock(Form& form, char column, int firstRow)
{
    for (int i = 0; i < 7; ++i)
        form.text(cellName(column, firstRow + i).constData(), companyLines[i], i == 0, i == 0 ? 14 : 10);
}

// Item and contact forms share one layout: the company block in B2:B8, the title, the
// document details in D15 to D23, then 30 caption and value pairs in B and D, rows 25 to 83.
void recordForm(Form& form, const QString& title, const QString& nameLabel, const QString& valueLabel)
{
    form.columnWidths({6, 50, 6, 110});
    companyBlock(form, 'B', 2);
    form.text("D2", title, true, 20);
    form.text("B15", QStringLiteral("Date"), true);
    form.text("B17", QStringLiteral("Document"), true);
    form.text("B19", QStringLiteral("Row"), true);
    form.text("B21", nameLabel, true);
    form.text("B23", valueLabel, true);
    for (const char* f : {"D15", "D17", "D19", "D21", "D23"})
        form.field(f);
    form.field("D21", true);
    form.boldRange("B25:B83");
    for (int row = 25; row <= 83; row += 2)
        form.field(cellName('D', row).constData());
    // The rows between the pairs only space them out.
    for (int row = 16; row <= 82; row += 2)
        form.rowHeight(row, 150);
    form.pageSetup(false, true);
}

void itemForm(Form& form)
{
    recordForm(form, QStringLiteral("ITEM"), QStringLiteral("Item"), QStringLiteral("Price"));
}

void contactForm(Form& form)
{
    recordForm(form, QStringLiteral("CONTACT"), QStringLiteral("Contact"), QStringLiteral("Balance"));
}

// The invoice: company block in B1:B7, the transaction's number, date and total in row 11,
// the two parties in rows 14 and 15, line-item captions in row 19 and lines from row 20.
void transactionForm(Form& form)
{
    form.columnWidths({12, 50, 16, 16, 18, 14, 14, 14, 14, 36});
    companyBlock(form, 'B', 1);
    form.text("G1", QStringLiteral("INVOICE"), true, 20);
    form.text("A11", QStringLiteral("No."), true);
    form.text("D11", QStringLiteral("Date"), true);
    form.text("H11", QStringLiteral("Total"), true);
    form.field("B11", true);
    form.field("E11:G11");
    form.field("I11:J11", true);
    form.merge("E11:G11");
    form.merge("I11:J11");
    form.text("B14", QStringLiteral("From"), true);
    form.text("B15", QStringLiteral("Contact"), true);
    form.text("H14", QStringLiteral("To"), true);
    form.text("H15", QStringLiteral("Contact"), true);
    form.field("D14:F15");
    form.merge("D14:F14");
    form.merge("D15:F15");
    form.field("J14:J15");
    form.text("B19", QStringLiteral("Item Name"), true);
    form.text("C19", QStringLiteral("Price"), true);
    form.text("D19", QStringLiteral("Quantity"), true);
    form.text("E19", QStringLiteral("Total"), true);
    form.boldRange("F19:AG19");
    form.field("B19:J19", true);
    form.pageSetup(false, false);
}

// The payment receipt: company block in A2:A8, the payment in column D, the transaction it
// belongs to in column K, the note in A22.
void paymentForm(Form& form)
{
    form.columnWidths({40, 6, 6, 40, 6, 6, 6, 6, 6, 30, 50});
    companyBlock(form, 'A', 2);
    form.text("K2", QStringLiteral("PAYMENT"), true, 20);
    form.text("A13", QStringLiteral("Payment"), true);
    form.text("A15", QStringLiteral("Paid so far"), true);
    form.text("A19", QStringLiteral("Balance"), true);
    form.field("D13", true);
    form.field("D15");
    form.field("D19", true);
    const char* transactionLabels[] = {"Transaction", "Date", "Value", "From", "From contact", "To", "To contact"};
    for (int i = 0; i < 7; ++i) {
        form.text(cellName('J', 13 + i).constData(), QString::fromLatin1(transactionLabels[i]), true);
        form.field(cellName('K', 13 + i).constData());
    }
    form.text("A21", QStringLiteral("Note"), true);
    form.field("A22:K22");
    form.pageSetup(false, true);
}

} // namespace

int main(int argc, char** argv)
{
    platform::ignoreBrokenPipe();
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: maketemplates <resources folder>\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/System/RAzar/Template/");
    const struct {
        const char* file;
        std::function<void(Form&)> draw;
    } forms[] = {
        {"Item/Item Form.xls", itemForm},
        {"Contacts/Contact Form.xls", contactForm},
        {"Transaction/Transaction Form.xls", transactionForm},
        {"Payments/Payment Form.xls", paymentForm},
    };
    OfficeProcess office;
    OfficeProcess::Launch launch;
    launch.program = platform::calc::CalcOptions().officeProgram;
    QString error;
    if (!office.start(launch, error)) {
        std::fprintf(stderr, "maketemplates: %s\n", qPrintable(error));
        return 1;
    }
    try {
        for (const auto& f : forms) {
            Form form(office.desktop());
            f.draw(form);
            form.store(root + QString::fromLatin1(f.file));
            std::printf("%s\n", qPrintable(root + QString::fromLatin1(f.file)));
        }
    } catch (const uno::Exception& e) {
        std::fprintf(stderr, "maketemplates: %s\n", qPrintable(platform::calc::toQString(e.Message)));
        return 1;
    }
    return 0;
}
