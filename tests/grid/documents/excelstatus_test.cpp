// When the start-up probe found the spreadsheet program unusable, every spreadsheet command
// ends with the one message before it touches anything, and no print request outlives it.

#include "exchangefakes.h"
#include "grid/documents/excelexchange.h"
#include "grid/documents/transactionform.h"
#include "grid/gridcore.h"
#include "support/recordingspreadsheet.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(ExcelStatusTest, UnusableSpreadsheetProgramEndsEveryCommandWithItsMessage)
{
    const struct {
        const char* name;
        const char* printRequest;
        const char* copies;
        std::function<bool(grid::ExcelExchange&, grid::TransactionForm&)> run;
    } cases[] = {
        {"import", "No", "", [](auto& x, auto&) { return x.importexcel(QStringLiteral("/book.xls"), 3); }},
        {"export", "No", "", [](auto& x, auto&) { return x.exporttoexcel(); }},
        {"export with a print request", "Yes", "", [](auto& x, auto&) { return x.exporttoexcel(); }},
        {"form shown", "No", "", [](auto&, auto& f) { return f.exporttotransactionform(); }},
        {"form printed", "No", "2", [](auto&, auto& f) { return f.exporttotransactionform(); }},
    };
    testsupport::TempProgramFolder folder;
    folder.writeFile("System/RAzar/Template/Transaction/Transaction Form.xls", "form");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::ScopedPrompts prompts;
        testsupport::ScopedRecordingSpreadsheet excel;
        FakeHost host;
        host.excelStatus = QStringLiteral("NERADI");
        host.printExcelFile = QString::fromLatin1(c.printRequest);
        FakeFormSettings settings;
        FakeTransaction transaction;
        transaction.copies = QString::fromLatin1(c.copies);
        grid::GridCore grid;
        grid.setCellText(1, 1, QStringLiteral("text"));
        grid::ExcelExchange exchange(grid, host);
        grid::TransactionForm form(grid, host, settings, transaction);
        prompts->queueAnswer(platform::Answer::OK);

        EXPECT_FALSE(c.run(exchange, form));

        ASSERT_EQ(prompts->recorded().size(), 1);
        const auto& message = prompts->recorded().first();
        EXPECT_EQ(message.text, QStringLiteral("Quorvane failed to initialize Microsoft Excel"));
        EXPECT_EQ(message.style, platform::MsgStyle::Critical);
        EXPECT_EQ(message.title, QStringLiteral("Velkorn      Excel Error"));
        EXPECT_TRUE(excel->calls.isEmpty());
        EXPECT_TRUE(host.progressValues().isEmpty());
        EXPECT_TRUE(settings.steps.isEmpty());
        EXPECT_TRUE(transaction.pleaseWait.isEmpty());
        EXPECT_EQ(grid.ListCount(), 1);
        // A refused print request must not turn the next plain export into a print.
        EXPECT_EQ(host.printExcelFile, QStringLiteral("No"));
        EXPECT_TRUE(transaction.copies.isEmpty());
    }
}

} // namespace
