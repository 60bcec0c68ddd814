// The item, contact and payment forms filled in our own templates on the real LibreOffice
// Calc and read back at the addresses of their cell maps, and an item form printed in two
// copies to a private PDF queue. Few and quick: each office start costs about a second.

#include "../formsamples.h"
#include "privatecups.h"
#include "storedwhenshown.h"

#include "datafiles/settingsstore.h"
#include "grid/gridcore.h"
#include "platform/calc/calcspreadsheet.h"
#include "services/formservice.h"
#include "support/pinnedclock.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::calc::CalcSpreadsheet;
using services::FormKind;
using Status = services::FormResult::Status;

namespace {

struct Cell {
    const char* address;
    QString text;
};

QByteArray digestOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class FormServiceCalcTest : public ::testing::Test {
protected:
    // One office for preparing templates and reading results back, shared by the suite.
    static void SetUpTestSuite()
    {
        helper = new CalcSpreadsheet;
        ASSERT_TRUE(helper->start()) << helper->lastError().toStdString();
    }
    static void TearDownTestSuite()
    {
        delete helper;
        helper = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(helper, nullptr);
        openInHelper.clear();
        formsamples::fillCompany(store);
        store.lblEXCELSTATUS = QStringLiteral("RADI");
    }

    // Our template of the kind, as the install puts it below the program folder.
    QString installTemplate(FormKind kind)
    {
        const QString below = services::formBelowDataRoot(kind);
        const QString path = folder.filePath(QStringLiteral("System/RAzar/") + below);
        folder.makeFolder(QStringLiteral("System/RAzar/") + below.section(QLatin1Char('/'), 0, -2));
        EXPECT_TRUE(QFile::copy(QStringLiteral(QUORVANE_SOURCE_DIR "/resources/System/RAzar/") + below, path));
        return path;
    }

    // The cells of a stored workbook's active sheet, as it shows them.
    static QString cellOf(const QString& workbook, const QString& address)
    {
        if (openInHelper != workbook) {
            EXPECT_TRUE(helper->openWorkbook(workbook, true)) << helper->lastError().toStdString();
            openInHelper = workbook;
        }
        return helper->readCell(address);
    }

    void expectCells(const std::vector<Cell>& cells)
    {
        for (const Cell& c : cells)
            EXPECT_EQ(cellOf(shown, QString::fromLatin1(c.address)), c.text) << c.address;
    }

    // How the sheet shows a date and time value written as the forms write theirs.
    static QString dateAsShown(const QDateTime& when)
    {
        openInHelper.clear();
        EXPECT_TRUE(helper->addWorkbook());
        EXPECT_TRUE(helper->writeDate(QStringLiteral("A1"), when));
        return helper->readCell(QStringLiteral("A1"));
    }

    static inline CalcSpreadsheet* helper = nullptr;
    static inline QString openInHelper; // the workbook the helper has active
    testsupport::TempProgramFolder folder;
    testsupport::ScopedPrompts prompts;
    testsupport::PinnedClock clock{QDateTime(QDate(2026, 3, 14), QTime(9, 30))};
    QTemporaryDir dir;
    const QString shown = dir.filePath(QStringLiteral("shown.xls"));
    datafiles::SettingsStore store;
    services::FormService service{{.store = store,
                                   .prompts = prompts.script(),
                                   .spreadsheets = [path = shown] { return std::make_unique<StoredWhenShown>(path); },
                                   .playSound = {}}};
};

TEST_F(FormServiceCalcTest, ItemFormFilledAndReadBack)
{
    const QString form = installTemplate(FormKind::Item);
    const QByteArray before = digestOf(form);
    grid::GridCore grid;
    grid.SetColumnHeader(1, QStringLiteral("Item Name"));
    for (const char* caption : {"Price", "Unit", "Weight", "Note"})
        grid.AddColumn(0, 60, QString::fromLatin1(caption));
    grid.resetRows(3);
    const QString row[] = {QStringLiteral("Vijak Ž M8"), "12.5", "pcs", "0.02", "=zinc"};
    for (int k = 1; k <= 5; ++k)
        grid.setCellText(2, k, row[k - 1]);
    grid.setiSelected(2);

    const services::FormResult result =
        service.exportItem(services::SelectedRow::fromGrid(grid, QStringLiteral("Items Group [ Unsaved ]")));

    ASSERT_EQ(result.status, Status::Shown) << result.message.value_or(services::UserMessage{}).text.toStdString();
    expectCells({{"B2", "Own Co"},
                 {"B3", "1 Main St"},
                 {"B4", "Springfield"},
                 {"B5", "01234"},
                 {"B6", "own@example.com"},
                 {"B7", "555-0101"},
                 {"B8", "555-0100"},
                 {"D17", "Items Group [ Unsaved ]"},
                 {"D19", "2"},
                 {"D21", row[0]},
                 {"D23", "12.5"},
                 {"B25", "Unit"},
                 {"D25", "pcs"},
                 {"B27", "Weight"},
                 {"D27", "0.02"},
                 {"B29", "Note"},
                 {"D29", "=zinc"},
                 {"B31", ""},
                 {"D83", ""},
                 {"B15", "Date"}, // the template's own labels stay
                 {"D2", "ITEM"}});
    const QString date = dateAsShown(clock.when());
    EXPECT_TRUE(date.contains(QLatin1String("30"))) << date.toStdString(); // a date and time, not a serial
    EXPECT_EQ(cellOf(shown, QStringLiteral("D15")), date);
    EXPECT_EQ(digestOf(form), before) << "the template itself is never written";
}

// The contact form of a list with 20 columns, into a template that holds texts of its own
// where the columns the list does not have would go: those are emptied.
TEST_F(FormServiceCalcTest, ContactFormFilledAndReadBack)
{
    const QString form = installTemplate(FormKind::Contact);
    const QString prepared = dir.filePath(QStringLiteral("prepared.xls"));
    ASSERT_TRUE(QFile::copy(form, prepared));
    ASSERT_TRUE(helper->openWorkbook(prepared, true));
    openInHelper.clear();
    helper->writeCell(QStringLiteral("B61"), QStringLiteral("template caption"));
    helper->writeCell(QStringLiteral("D83"), QStringLiteral("template value"));
    QFile::remove(form);
    ASSERT_TRUE(helper->saveAs(form)) << helper->lastError().toStdString();

    grid::GridCore contacts;
    contacts.SetColumnHeader(1, QStringLiteral("Contact Name"));
    contacts.AddColumn(0, 60, QStringLiteral("Balance"));
    for (int k = 3; k <= 20; ++k)
        contacts.AddColumn(0, 60, QStringLiteral("Field %1").arg(k));
    contacts.resetRows(2);
    contacts.setCellText(2, 1, QStringLiteral("Jane Roe"));
    contacts.setCellText(2, 2, QStringLiteral("-12.5")); // the export takes any balance
    contacts.setCellText(2, 3, QStringLiteral("Ljubljana"));
    contacts.setCellText(2, 20, QStringLiteral("last"));
    contacts.setiSelected(2);

    const services::FormResult result =
        service.exportContact(services::SelectedRow::fromGrid(contacts, QStringLiteral("Company [ Acme Ltd.QVC ]")));

    ASSERT_EQ(result.status, Status::Shown) << result.message.value_or(services::UserMessage{}).text.toStdString();
    expectCells({{"B2", "Own Co"},
                 {"D17", "Company [ Acme Ltd.QVC ]"},
                 {"D19", "2"},
                 {"D21", "Jane Roe"},
                 {"D23", "-12.5"},
                 {"B25", "Field 3"},
                 {"D25", "Ljubljana"},
                 {"B49", "Field 15"},
                 {"B51", "Field 16"},
                 {"B59", "Field 20"},
                 {"D59", "last"},
                 {"B61", ""},
                 {"D83", ""},
                 {"D2", "CONTACT"}});
}

TEST_F(FormServiceCalcTest, PaymentFormFilledAndReadBack)
{
    installTemplate(FormKind::Payment);
    const services::FormResult result = service.exportPayment(formsamples::payment());

    ASSERT_EQ(result.status, Status::Shown) << result.message.value_or(services::UserMessage{}).text.toStdString();
    for (const auto& [address, text] : formsamples::paymentCells())
        EXPECT_EQ(cellOf(shown, address), text) << address.toStdString();
    expectCells({{"J13", "Transaction"}, // the template's own labels stay
                 {"K2", "PAYMENT"}});
}

TEST_F(FormServiceCalcTest, ItemFormPrintsTwoCopiesToTheDefaultPrinter)
{
    PrivateCups cups;
    if (!cups.start())
        GTEST_SKIP() << cups.error().toStdString();
    installTemplate(FormKind::Item);
    grid::GridCore grid;
    grid.AddColumn(0, 60, QStringLiteral("Price"));
    grid.setCellText(1, 1, QStringLiteral("Printed Bolt"));
    grid.setCellText(1, 2, QStringLiteral("3"));
    grid.setiSelected(1);
    prompts->queueInput(QStringLiteral("2"));

    const services::FormResult result =
        service.printItem(services::SelectedRow::fromGrid(grid, QStringLiteral("Items Group [ Bolts ]")));

    ASSERT_EQ(result.status, Status::Printed) << result.message.value_or(services::UserMessage{}).text.toStdString();
    EXPECT_EQ(cups.waitForPrintedPages(30000), 2);
    EXPECT_EQ(cups.outputPages(), 2);
    EXPECT_TRUE(cups.outputText().contains(QStringLiteral("Printed Bolt")));
    EXPECT_FALSE(QFile::exists(shown));
}

} // namespace
