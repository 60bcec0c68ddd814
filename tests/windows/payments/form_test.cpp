// The payment form from the window's Print and "Export to Excel Form" buttons, on a
// recording stand-in for the spreadsheet program: the form carries what the window shows,
// saved or not, and the window passes on the service's refusals and its template picker.

#include "paymentsfixture.h"

#include "support/recordingspreadsheet.h"
#include "platform/vb.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

namespace paymentstest {
namespace {

using platform::Answer;
using platform::MsgStyle::Critical;
using testsupport::PromptKind;

class PaymentForm : public PaymentsTest {
public:
    PaymentForm()
    {
        machine.store.CompanyAddress = QStringLiteral("1 Main St");
        machine.store.CompanyPhone = QStringLiteral("555-0100");
        machine.store.lblEXCELSTATUS = QStringLiteral("RADI");
        program.writeFile(QStringLiteral("System/RAzar/Template/Payments/Payment Form.xls"), "our template");
    }

    // A part payment of 120 with a note, unsaved, against 500 with 150 paid before.
    void enterPayment()
    {
        openWindow();
        datafiles::TransactionHeader h = header(QStringLiteral("500"), QStringLiteral("150"));
        fromOwnCompany(h);
        toContact(h, company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}}), 1, QStringLiteral("Ana"));
        openTransaction(transaction(QStringLiteral("41.QVT"), h));
        window->PaymentValue()->setText(QStringLiteral("120"));
        QTest::keyClicks(window->Note(), QStringLiteral("by bank"));
    }

    // The cells the form receives from that payment.
    QHash<QString, QString> expectedCells() const
    {
        return {{"A2", "Firma"},
                {"A3", "1 Main St"},
                {"A4", ""},
                {"A8", "555-0100"},
                {"K13", "41"},
                {"K14", "1.12.2026 10:00:00"},
                {"K15", "500"},
                {"K16", "Firma"},
                {"K17", ""},
                {"K18", "Bank.QVC"},
                {"K19", "Ana"},
                {"D13", "120"},
                {"D15", "150"},
                {"D17", platform::vb::GeneralDate(clock.when())},
                {"D19", "230"},
                {"A22", "by bank"}};
    }
    void expectCells(const QHash<QString, QString>& cells)
    {
        const QHash<QString, QString> expected = expectedCells();
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            EXPECT_EQ(cells.value(it.key()), it.value()) << it.key().toStdString();
    }

    testsupport::ScopedRecordingSpreadsheet sheet;
};

TEST_F(PaymentForm, PrintFillsTheFormWithWhatTheWindowShows)
{
    enterPayment();
    const datafiles::PaymentRecord before = window->record();
    const postingtest::Snapshot files = postingtest::snapshot({program.path()});
    prompts->queueInput(QStringLiteral("2"));
    window->button(QStringLiteral("cmdPrintOptions"))->click();

    EXPECT_EQ(prompts->recorded().last().kind, PromptKind::InputBox);
    EXPECT_EQ(prompts->recorded().last().text, "Enter number of copies to print:");
    EXPECT_TRUE(sheet->calls.contains(QStringLiteral("open ") + program.filePath("System/RAzar/Template/Payments/Payment Form.xls")
                                      + " read-only"))
        << sheet->calls.join(", ").toStdString();
    EXPECT_TRUE(sheet->calls.filter(QRegularExpression("^print 2")).size() == 1) << sheet->calls.join(", ").toStdString();
    EXPECT_EQ(sheet->running, 0);
    expectCells(sheet->printedCells);
    // The command changes nothing in the window or on disk.
    EXPECT_EQ(window->record(), before);
    EXPECT_EQ(postingtest::snapshot({program.path()}), files);
}

TEST_F(PaymentForm, ExportShowsTheFilledForm)
{
    enterPayment();
    window->button(QStringLiteral("exporttoexcel"))->click();
    EXPECT_TRUE(sheet->calls.contains("show")) << sheet->calls.join(", ").toStdString();
    expectCells(sheet->shownCells);
    EXPECT_EQ(prompts->recorded().last().kind, PromptKind::ShowOpen);
}

struct FormRefusal {
    const char* name;
    bool print;
    bool transactionChosen;
    bool spreadsheetUsable;
    bool templateThere;
    const char* message;
    const char* title;
};

void PrintTo(const FormRefusal& c, std::ostream* os)
{
    *os << c.name;
}

class PaymentFormRefusals : public PaymentForm, public ::testing::WithParamInterface<FormRefusal> {};

// The print asks for the copies before anything else; then, as the export does, it wants the
// spreadsheet program, a transaction and a template. Without a template the settings
// window's picker is brought up after the message.
TEST_P(PaymentFormRefusals, AreShownByTheWindow)
{
    const FormRefusal& c = GetParam();
    if (c.transactionChosen)
        enterPayment();
    else
        openWindow();
    if (!c.spreadsheetUsable)
        machine.store.lblEXCELSTATUS = QStringLiteral("NERADI");
    if (!c.templateThere)
        QFile::remove(program.filePath("System/RAzar/Template/Payments/Payment Form.xls"));
    prompts->clear();
    if (c.print)
        prompts->queueInput(QStringLiteral("1"));
    prompts->queueAnswer(Answer::OK);
    window->button(QString::fromLatin1(c.print ? "cmdPrintOptions" : "exporttoexcel"))->click();

    ASSERT_EQ(prompts->recorded().size(), c.print ? 2 : 1);
    if (c.print) {
        EXPECT_EQ(prompts->recorded().first().kind, PromptKind::InputBox);
    }
    EXPECT_EQ(prompts->recorded().last().text, QString::fromLatin1(c.message));
    EXPECT_EQ(prompts->recorded().last().title, QString::fromLatin1(c.title));
    EXPECT_EQ(prompts->recorded().last().style, Critical);
    EXPECT_EQ(machine.pickedTemplates, c.templateThere ? std::vector<services::FormKind>{}
                                                       : std::vector<services::FormKind>{services::FormKind::Payment});
    EXPECT_TRUE(sheet->calls.isEmpty()) << sheet->calls.join(", ").toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaymentFormRefusals,
    ::testing::Values(
        FormRefusal{"PrintWithoutATransaction", true, false, true, true, "Please select the Transaction for printing",
                    "Quorvane"},
        FormRefusal{"ExportWithoutATransaction", false, false, true, true, "Please select the Transaction for export",
                    "Quorvane"},
        FormRefusal{"PrintWithoutTheSpreadsheet", true, true, false, true,
                    "Quorvane failed to initialize Microsoft Excel", "Velkorn      Excel Error"},
        FormRefusal{"ExportWithoutTheSpreadsheet", false, true, false, true,
                    "Quorvane failed to initialize Microsoft Excel", "Velkorn      Excel Error"},
        FormRefusal{"PrintWithoutATemplate", true, true, true, false, "Please select the Payment Form",
                    "Velkorn      Excel Form File Missing"},
        FormRefusal{"ExportWithoutATemplate", false, true, true, false, "Please select the Payment Form",
                    "Velkorn      Excel Form File Missing"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace paymentstest
