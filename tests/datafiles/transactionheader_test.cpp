#include "datafiles/datafoldertree.h"
#include "datafiles/scramble.h"
#include "datafiles/settingsstore.h"
#include "datafiles/transactionheaderfile.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "testfiles.h"
#include "writerspy.h"

#include "support/qtprinters.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace datafiles;
using namespace datafilestest;
using testsupport::ScopedPrompts;
using testsupport::TempProgramFolder;

namespace {

// A header file as the stored files have it, typed in by hand: 19 lines, CR LF
// between them and none after the last, every byte's top bit toggled.
const QByteArray HandMadeHeader =
    "17\r\n"
    "10.12.2026 9:30:00\r\n"
    "150\r\n"
    "Firma d.o.o.\r\n"
    "False\r\n"
    "C:\\Quorvane\\System\\RAzar\\Contacts\\Kupci.QVC\r\n"
    "true\r\n"
    "Ana \x8A" "ubic\r\n" // Šubic in Windows-1250
    "-1\r\n"
    "Firma d.o.o.\r\n"
    "TRUE\r\n"
    "\r\n"
    "0\r\n"
    "\r\n"
    "FALSE\r\n"
    "50\r\n"
    "100\r\n"
    "3\r\n"
    "5";

TransactionHeader distinctHeader()
{
    TransactionHeader h;
    h.TransactionNumber = {"42", false};
    h.DateandTime = {"10.12.2026 12:00:00", false};
    h.Value = {"1234.5", false};
    h.FromMyCompany = {QStringLiteral("Žaga d.o.o."), true};
    h.fromcompany = {"", false};
    h.fromcontact = {"", false};
    h.ToMyCompany = {QStringLiteral("Žaga d.o.o."), false};
    h.tocompany = {"/data/System/RAzar/Contacts/Kupci.QVC", true};
    h.tocontact = {QStringLiteral("Ana Šubic"), true};
    h.AmountPaid = {"", false};
    h.Balance = {"", false};
    h.fromcompanyiselected = {"", false};
    h.tocompanyiselected = {"7", false};
    return h;
}

} // namespace

TEST(TransactionHeaderFile, RoundTripRestoresAllNineteenLinesAndSetsTheValueAlreadyPosted)
{
    TempProgramFolder program;
    ScopedPrompts prompts;
    const QString path = program.filePath("1.QVTH");
    const TransactionHeader saved = distinctHeader();
    ASSERT_TRUE(SaveTransactionHeader(path, saved));

    const QByteArray plain = "42\r\n10.12.2026 12:00:00\r\n1234.5\r\n\x8E" "aga d.o.o.\r\nTrue\r\n"
                             "\r\nFalse\r\n\r\nFalse\r\n\x8E" "aga d.o.o.\r\nFalse\r\n"
                             "/data/System/RAzar/Contacts/Kupci.QVC\r\nTrue\r\nAna \x8A" "ubic\r\n"
                             "True\r\n\r\n\r\n\r\n7";
    const QByteArray stored = contentOf(path);
    EXPECT_EQ(stored, scrambled(plain));
    EXPECT_EQ(stored.count("\x8D\x8A"), 18);
    EXPECT_FALSE(stored.endsWith("\x8D\x8A"));

    TransactionHeader loaded;
    loaded.fromcompanyiselected.Caption = "stale";
    loaded.AmountPaid.Caption = "stale";
    EXPECT_EQ(LoadTransactionHeader(path, loaded), LineFileReader::Status::Accepted);
    TransactionHeader expected = saved;
    expected.oldvalue.Caption = "1234.5";
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(contentOf(path), stored) << "reading leaves the file as it rests";
}

TEST(TransactionHeaderFile, HandMadeFileReadsWithEveryFlagSpelling)
{
    TempProgramFolder program;
    ScopedPrompts prompts;
    const QString path = program.writeFile("System/RAzar/Transactions/17.QVTH", scrambled(HandMadeHeader));

    TransactionHeader h;
    h.ToMyCompany.Checked = false;
    h.tocompany.Checked = true;
    EXPECT_EQ(LoadTransactionHeader(path, h), LineFileReader::Status::Accepted);
    EXPECT_EQ(h.TransactionNumber.Caption, "17");
    EXPECT_EQ(h.DateandTime.Caption, "10.12.2026 9:30:00");
    EXPECT_EQ(h.Value.Caption, "150");
    EXPECT_EQ(h.fromcompany.Caption, "C:\\Quorvane\\System\\RAzar\\Contacts\\Kupci.QVC");
    EXPECT_EQ(h.fromcontact.Caption, QStringLiteral("Ana Šubic"));
    EXPECT_FALSE(h.FromMyCompany.Checked);               // "False"
    EXPECT_TRUE(h.fromcompany.Checked);                  // "true"
    EXPECT_TRUE(h.fromcontact.Checked);                  // "-1"
    EXPECT_TRUE(h.ToMyCompany.Checked);                  // "TRUE"
    EXPECT_FALSE(h.tocompany.Checked);                   // "0"
    EXPECT_FALSE(h.tocontact.Checked);                   // "FALSE"
    EXPECT_EQ(h.AmountPaid.Caption, "50");
    EXPECT_EQ(h.Balance.Caption, "100");
    EXPECT_EQ(h.fromcompanyiselected.Caption, "3");
    EXPECT_EQ(h.tocompanyiselected.Caption, "5");
    EXPECT_EQ(h.oldvalue.Caption, "150");
}

TEST(TransactionHeaderFile, AFlagLineThatIsNeitherWordNorNumberKeepsItsCheckMark)
{
    TempProgramFolder program;
    ScopedPrompts prompts;
    const struct {
        QByteArray line;
        bool before;
        bool after;
    } cases[] = {
        {"yes", true, true}, {"yes", false, false}, {"", true, true},
        {"2", false, true},  {"0", true, false},    {" True ", false, true},
    };
    for (const auto& c : cases) {
        const QByteArray plain = withLine(HandMadeHeader, 5, c.line);
        const QString path = program.writeFile("t.QVTH", scrambled(plain));
        TransactionHeader h;
        h.FromMyCompany.Checked = c.before;
        LoadTransactionHeader(path, h);
        EXPECT_EQ(h.FromMyCompany.Checked, c.after) << c.line.constData();
    }
}

TEST(TransactionHeaderFile, LineOneIsTheTransactionsOwnNumberNotTheInvoiceCounter)
{
    // Transaction 7 is saved again after the counter has reached 12: its payments name it
    // as 7 (payment line 7), so its header must keep saying 7.
    TempProgramFolder program;
    ScopedPrompts prompts;
    SettingsStore store;
    store.InvoiceNumber = QStringLiteral("12");
    TransactionHeader h = distinctHeader();
    h.TransactionNumber.Caption = "7";
    const QString path = program.filePath("7.QVTH");
    ASSERT_TRUE(SaveTransactionHeader(path, h));
    EXPECT_TRUE(scrambled(contentOf(path)).startsWith("7\r\n"));

    TransactionHeader loaded;
    LoadTransactionHeader(path, loaded);
    EXPECT_EQ(loaded.TransactionNumber.Caption, "7");
}

TEST(TransactionHeaderFile, MissingFileShowsItsMessageAndChangesNothing)
{
    TempProgramFolder program;
    const QString stray = program.writeFile("System/Temp/1~.000", "x");
    ScopedPrompts prompts;
    prompts->queueAnswer(platform::Answer::OK);
    TransactionHeader h = distinctHeader();
    EXPECT_EQ(LoadTransactionHeader(program.filePath("none.QVTH"), h), LineFileReader::Status::Missing);
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_EQ(prompts->recorded()[0].text, "File Don't Exist!");
    EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::Critical);
    EXPECT_EQ(prompts->recorded()[0].title, "Transaction Header File");
    EXPECT_EQ(h, distinctHeader());
    EXPECT_FALSE(QFile::exists(stray)) << "the scratch folder is emptied first";
}

TEST(TransactionHeaderFile, PlainFileIsReadAndLeftScrambled)
{
    TempProgramFolder program;
    ScopedPrompts prompts;
    const QString path = program.writeFile("p.QVTH", HandMadeHeader);
    TransactionHeader h;
    EXPECT_EQ(LoadTransactionHeader(path, h), LineFileReader::Status::Accepted);
    EXPECT_EQ(h.TransactionNumber.Caption, "17");
    EXPECT_EQ(h.Balance.Caption, "100");
    EXPECT_EQ(contentOf(path), scrambled(HandMadeHeader));
}

TEST(TransactionHeaderFile, UnreadableInBothStatesIsReportedAndLeavesHeaderAndFileAsTheyWere)
{
    TempProgramFolder program;
    const QByteArray plain = withLine(HandMadeHeader, 1, "No");
    for (const QByteArray& found : {plain, scrambled(plain)}) {
        const QString path = program.writeFile("bad.QVTH", found);
        ScopedPrompts prompts;
        prompts->queueAnswer(platform::Answer::OK);
        TransactionHeader h = distinctHeader();
        EXPECT_EQ(LoadTransactionHeader(path, h), LineFileReader::Status::Rejected);
        EXPECT_EQ(h, distinctHeader());
        EXPECT_EQ(contentOf(path), found);
        ASSERT_EQ(prompts->recorded().size(), 1);
        EXPECT_TRUE(prompts->recorded()[0].text.contains(path));
    }
}

TEST(TransactionHeaderFile, AnEmptyFileIsNotTakenForAHeaderOnTheNumberAlreadyShown)
{
    // The number line is missing: the key test must not pass on the number the header held.
    TempProgramFolder program;
    const QString path = program.writeFile("empty.QVTH", QByteArray());
    ScopedPrompts prompts;
    prompts->queueAnswer(platform::Answer::OK);
    TransactionHeader h = distinctHeader();
    EXPECT_EQ(LoadTransactionHeader(path, h), LineFileReader::Status::Rejected);
    EXPECT_EQ(h, distinctHeader());
}

TEST(TransactionHeaderFile, AFailedWriteIsReportedAndKeepsTheOldFile)
{
    TempProgramFolder program;
    const QString path = program.writeFile("w.QVTH", scrambled(HandMadeHeader));
    WriterSpy spy;
    spy.failure = DataFileWrite{false, true, QStringLiteral("The file \"%1\" could not be written.").arg(path)};
    ScopedPrompts prompts;
    prompts->queueAnswer(platform::Answer::OK);
    EXPECT_FALSE(SaveTransactionHeader(path, distinctHeader()));
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_TRUE(prompts->recorded()[0].text.contains(path));
    EXPECT_EQ(contentOf(path), scrambled(HandMadeHeader));
}

TEST(TransactionHeaderFile, AHeaderThatCannotBeOpenedIsReportedNamingItAndChangesNothing)
{
    TempProgramFolder program;
    const QString path = program.makeFolder("d.QVTH"); // a folder where the file should be
    ScopedPrompts prompts;
    prompts->queueAnswer(platform::Answer::OK);
    TransactionHeader h = distinctHeader();
    EXPECT_EQ(LoadTransactionHeader(path, h), LineFileReader::Status::Unreadable);
    EXPECT_EQ(h, distinctHeader());
    ASSERT_EQ(prompts->recorded().size(), 1);
    EXPECT_TRUE(prompts->recorded()[0].text.contains(path));
    EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::Critical);
    EXPECT_EQ(prompts->recorded()[0].title, "Transaction Header File");
}
