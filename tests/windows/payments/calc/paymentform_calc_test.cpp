// The payment form from the payments window on the real LibreOffice Calc: a part payment
// entered through the window is exported into our own template, and the workbook is read
// back at the cells of the form.

#include "../paymentsfixture.h"
#include "storedwhenshown.h"

#include "platform/calc/calcspreadsheet.h"
#include "platform/spreadsheet.h"
#include "platform/vb.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

namespace paymentstest {
namespace {

class PaymentFormOnCalc : public PaymentsTest {
public:
    PaymentFormOnCalc()
    {
        machine.store.CompanyAddress = QStringLiteral("1 Main St");
        machine.store.CompanyCity = QStringLiteral("Kranj");
        machine.store.lblEXCELSTATUS = QStringLiteral("RADI");
        const QString below = QStringLiteral("System/RAzar/Template/Payments/Payment Form.xls");
        program.makeFolder(QStringLiteral("System/RAzar/Template/Payments"));
        EXPECT_TRUE(QFile::copy(QStringLiteral(QUORVANE_SOURCE_DIR "/resources/") + below, program.filePath(below)));
        platform::setSpreadsheetFactory([path = shown] { return std::make_unique<StoredWhenShown>(path); });
    }
    ~PaymentFormOnCalc() override { platform::setSpreadsheetFactory({}); }

    QTemporaryDir dir;
    const QString shown = dir.filePath(QStringLiteral("shown.xls"));
};

TEST_F(PaymentFormOnCalc, TheExportedFormReadsBackAsTheWindowShowedIt)
{
    openWindow();
    datafiles::TransactionHeader h = header(QStringLiteral("500"), QStringLiteral("150"));
    toOwnCompany(h);
    fromContact(h, company(QStringLiteral("Žaga Kos.QVC"), {{"Ana Šuštar", "0"}}), 1, QStringLiteral("Ana Šuštar"));
    openTransaction(transaction(QStringLiteral("41.QVT"), h));
    window->PaymentValue()->setText(QStringLiteral("120.5"));
    QTest::keyClicks(window->Note(), QStringLiteral("=second instalment"));

    window->button(QStringLiteral("exporttoexcel"))->click();
    ASSERT_TRUE(QFile::exists(shown)) << "the filled form was not handed over";

    platform::calc::CalcSpreadsheet reader;
    ASSERT_TRUE(reader.start()) << reader.lastError().toStdString();
    ASSERT_TRUE(reader.openWorkbook(shown, true)) << reader.lastError().toStdString();
    const struct {
        const char* address;
        QString text;
    } cells[] = {
        {"A2", "Firma"},
        {"A3", "1 Main St"},
        {"A4", "Kranj"},
        {"A5", ""},
        {"K13", "41"},
        {"K15", "500"},
        {"K16", "Žaga Kos.QVC"},
        {"K17", "Ana Šuštar"},
        {"K18", "Firma"},
        {"K19", ""},
        {"D13", "120.5"},
        {"D15", "150"},
        {"D19", "229.5"},
        {"A22", "=second instalment"},
    };
    for (const auto& cell : cells)
        EXPECT_EQ(reader.readCell(QString::fromLatin1(cell.address)), cell.text) << cell.address;
    reader.quit();
}

} // namespace
} // namespace paymentstest
