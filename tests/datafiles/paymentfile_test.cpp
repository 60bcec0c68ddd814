#include "datafiles/paymentfile.h"
#include "datafiles/scramble.h"
#include "platform/textcodec.h"
#include "support/scopedprompts.h"
#include "support/tempprogramfolder.h"
#include "testfiles.h"
#include "writerspy.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace datafiles;
using namespace datafilestest;
using testsupport::ScopedPrompts;
using testsupport::TempProgramFolder;

namespace {

// A payment file as the stored files have it, typed in by hand: 35 lines, the
// note's own lines ended by CR LF like the others, nothing after the last.
const QByteArray HandMadePayment =
    "Firma d.o.o.\r\n" "0\r\n" "\r\n"                        // FromMyCompany
    "Firma d.o.o.\r\n" "1\r\n" "\r\n"                        // ToMyCompany
    "21\r\n21\r\n"                                           // TransactionNumber
    "10.12.2026 9:30:00\r\n10.12.2026 9:30:00\r\n"           // DateandTime
    "150\r\n150\r\n"                                         // TransactionValue
    "Kupci.QVC\r\nC:\\Quorvane\\System\\RAzar\\Contacts\\Kupci.QVC\r\n" // fromcompany
    "Ana \x8A" "ubic\r\nAna \x8A" "ubic\r\n"                 // fromcontact
    "Firma d.o.o.\r\nFirma d.o.o.\r\n"                       // tocompany
    "\r\n\r\n"                                               // tocontact
    "100\r\n\r\n"                                            // PaymentValue
    "50\r\n150\r\n"                                          // AmountPaid
    "0\r\n100\r\n"                                           // Balance
    "10.12.2026 14:05:00\r\nClick to Refresh \r\n"           // PaymentDate
    "0\r\nC:\\Quorvane\\System\\RAzar\\Transactions\\21.QVTH\r\n" // lblChangeStatus
    "3\r\n3\r\n"                                             // fromcompanyiselected
    "\r\n\r\n"                                               // tocompanyiselected
    "Paid in cash.\r\nReceipt 7 \x9A" "t. 2";                // Note: "Receipt 7 št. 2"

PaymentRecord distinctPayment()
{
    PaymentRecord p;
    p.FromMyCompany = {QStringLiteral("Žaga d.o.o."), 1, "from tip"};
    p.ToMyCompany = {QStringLiteral("Žaga d.o.o."), 0, ""};
    p.TransactionNumber = {"42", "42"};
    p.DateandTime = {"10.12.2026 12:00:00", "10.12.2026 12:00:00"};
    p.TransactionValue = {"1234.5", "1234.5"};
    p.fromcompany = {QStringLiteral("Žaga d.o.o."), QStringLiteral("Žaga d.o.o.")};
    p.fromcontact = {"", ""};
    p.tocompany = {"Kupci.QVC", "/data/Contacts/Kupci.QVC"};
    p.tocontact = {QStringLiteral("Ana Šubic"), QStringLiteral("Ana Šubic")};
    p.AmountPaid = {"200", "1234.5"};
    p.Balance = {"0", "1034.5"};
    p.PaymentDate = {"10.12.2026 14:05:00", "Click to Refresh "};
    p.lblChangeStatus = {"0", "/data/Transactions/42.QVTH"};
    p.fromcompanyiselected = {"", ""};
    p.tocompanyiselected = {"7", "7"};
    p.setPaymentValueText("1034.5");
    p.AmountPaid.ToolTipText = "1234.5";
    p.Balance.Caption = "0";
    p.setPaymentValueToolTipText("");
    p.Note.Text = QStringLiteral("First line\nsecond: šđčćž\n\nlast\n");
    return p;
}

} // namespace

TEST(PaymentFile, RoundTripRestoresAllThirtyFiveValuesAndAMultiLineNote)
{
    TempProgramFolder program;
    ScopedPrompts prompts;
    const QString path = program.makeFolder("System/RAzar/Payments") + "/1.QVP";
    const PaymentRecord saved = distinctPayment();
    ASSERT_TRUE(SavePaymentFile(path, saved));

    const QByteArray stored = contentOf(path);
    const QByteArray plain = scrambled(stored);
    EXPECT_TRUE(plain.startsWith("\x8E" "aga d.o.o.\r\n1\r\nfrom tip\r\n\x8E" "aga d.o.o.\r\n0\r\n\r\n42\r\n"));
    EXPECT_TRUE(plain.endsWith("\r\n7\r\n7\r\nFirst line\r\nsecond: \x9A\xF0\xE8\xE6\x9E\r\n\r\nlast\r\n"));
    EXPECT_EQ(plain.count("\r\n"), 34 + 4) << "34 line ends, then the note's own four";
    EXPECT_EQ(plain.count('\n'), plain.count("\r\n"));

    PaymentRecord loaded;
    loaded.Note.Text = "an older note";
    EXPECT_EQ(LoadPaymentFile(path, loaded), LineFileReader::Status::Accepted);
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(contentOf(path), stored);
}

TEST(PaymentFile, NoLineEndFollowsTheLastValue)
{
    TempProgramFolder program;
    ScopedPrompts prompts;
    const QString path = program.filePath("n.QVP");
    PaymentRecord p = distinctPayment();
    p.Note.Text = "x";
    ASSERT_TRUE(SavePaymentFile(path, p));
    const QByteArray stored = contentOf(path);
    EXPECT_EQ(stored.count("\x8D\x8A"), 34);
    EXPECT_TRUE(stored.endsWith("\x8D\x8A" + scrambled("x")));

    p.Note.Text.clear();
    ASSERT_TRUE(SavePaymentFile(path, p));
    EXPECT_TRUE(contentOf(path).endsWith("\x8D\x8A"));
    PaymentRecord loaded;
    loaded.Note.Text = "stale";
    LoadPaymentFile(path, loaded);
    EXPECT_EQ(loaded.Note.Text, "") << "an empty note clears the one shown before";
}

TEST(PaymentFile, HandMadeFileReadsWithTheFilesOwnAmountsAndTheWholeNote)
{
    TempProgramFolder program;
    ScopedPrompts prompts;
    const QString path = program.writeFile("System/RAzar/Payments/21.QVP", scrambled(HandMadePayment));
    PaymentRecord p;
    p.FromMyCompany.Value = 1;
    EXPECT_EQ(LoadPaymentFile(path, p), LineFileReader::Status::Accepted);
    EXPECT_EQ(p.FromMyCompany, (PaymentCheckBox{"Firma d.o.o.", 0, ""}));
    EXPECT_EQ(p.ToMyCompany, (PaymentCheckBox{"Firma d.o.o.", 1, ""}));
    EXPECT_EQ(p.TransactionNumber, (PaymentLabel{"21", "21"}));
    EXPECT_EQ(p.fromcompany.ToolTipText, "C:\\Quorvane\\System\\RAzar\\Contacts\\Kupci.QVC");
    EXPECT_EQ(p.fromcontact.Caption, QStringLiteral("Ana Šubic"));
    EXPECT_EQ(p.PaymentValue().Text, "100");
    // The payment value's rule ran as line 21 was read; the lines after it have the last word.
    EXPECT_EQ(p.AmountPaid, (PaymentLabel{"50", "150"}));
    EXPECT_EQ(p.Balance, (PaymentLabel{"0", "100"}));
    EXPECT_EQ(p.PaymentDate, (PaymentLabel{"10.12.2026 14:05:00", "Click to Refresh "}));
    EXPECT_EQ(p.lblChangeStatus.ToolTipText, "C:\\Quorvane\\System\\RAzar\\Transactions\\21.QVTH");
    EXPECT_EQ(p.fromcompanyiselected.Caption, "3");
    EXPECT_EQ(p.Note.Text, QStringLiteral("Paid in cash.\nReceipt 7 št. 2"));
}

TEST(PaymentFile, ReadingDoesNotRecomputeTheAmountsFromThePaymentValue)
{
    TempProgramFolder program;
    ScopedPrompts prompts;
    const QByteArray plain = withLine(withLine(HandMadePayment, 21, "30"), // payment value
                                      25, "77");                           // balance as saved
    const QString path = program.writeFile("r.QVP", scrambled(plain));
    PaymentRecord p;
    LoadPaymentFile(path, p);
    EXPECT_EQ(p.PaymentValue().Text, "30");
    EXPECT_EQ(p.AmountPaid, (PaymentLabel{"50", "150"}));
    EXPECT_EQ(p.Balance, (PaymentLabel{"77", "100"}));
}

TEST(PaymentFile, CheckBoxLinesThatAreNotNumbersKeepTheBox)
{
    TempProgramFolder program;
    ScopedPrompts prompts;
    const QByteArray plain = withLine(withLine(HandMadePayment, 2, "x"), // FromMyCompany value
                                      5, "0");                           // ToMyCompany value
    const QString path = program.writeFile("c.QVP", scrambled(plain));
    PaymentRecord p;
    p.FromMyCompany.Value = 1;
    p.ToMyCompany.Value = 1;
    LoadPaymentFile(path, p);
    EXPECT_EQ(p.FromMyCompany.Value, 1);
    EXPECT_EQ(p.ToMyCompany.Value, 0);
}

TEST(PaymentFile, PlainFileIsReadAndLeftScrambled)
{
    TempProgramFolder program;
    ScopedPrompts prompts;
    const QString path = program.writeFile("p.QVP", HandMadePayment);
    PaymentRecord p;
    EXPECT_EQ(LoadPaymentFile(path, p), LineFileReader::Status::Accepted);
    EXPECT_EQ(p.TransactionNumber.Caption, "21");
    EXPECT_EQ(p.Note.Text, QStringLiteral("Paid in cash.\nReceipt 7 št. 2"));
    EXPECT_EQ(contentOf(path), scrambled(HandMadePayment));
}

TEST(PaymentFile, AFileThatIsNoPaymentIsReportedAndLeavesPaymentAndFileAsTheyWere)
{
    TempProgramFolder program;
    const QByteArray notNumbered = withLine(HandMadePayment, 7, "abc");
    // Six lines only: the number line is missing, and must not be taken from the payment
    // shown before.
    const QByteArray shortFile = HandMadePayment.left(HandMadePayment.indexOf("21\r\n"));
    for (const QByteArray& found : {notNumbered, scrambled(notNumbered), scrambled(shortFile)}) {
        const QString path = program.writeFile("bad.QVP", found);
        ScopedPrompts prompts;
        prompts->queueAnswer(platform::Answer::OK);
        PaymentRecord p = distinctPayment();
        p.TransactionNumber = {"5", "5"};
        const PaymentRecord before = p;
        EXPECT_EQ(LoadPaymentFile(path, p), LineFileReader::Status::Rejected);
        EXPECT_EQ(p, before);
        EXPECT_EQ(contentOf(path), found);
        ASSERT_EQ(prompts->recorded().size(), 1);
        EXPECT_TRUE(prompts->recorded()[0].text.contains(path));
    }
}

TEST(PaymentFile, MissingFileShowsItsMessage)
{
    TempProgramFolder program;
    ScopedPrompts prompts;
    prompts->queueAnswer(platform::Answer::OK);
    PaymentRecord p = distinctPayment();
    EXPECT_EQ(LoadPaymentFile(program.filePath("none.QVP"), p), LineFileReader::Status::Missing);
    EXPECT_EQ(prompts->texts(), QStringList({"File Don't Exist!"}));
    EXPECT_EQ(prompts->recorded()[0].style, platform::MsgStyle::Critical);
    EXPECT_EQ(prompts->recorded()[0].title, "Transaction Header File");
    EXPECT_EQ(p, distinctPayment());
}

TEST(PaymentFile, AFailedWriteIsReportedAndKeepsTheOldFile)
{
    TempProgramFolder program;
    const QString path = program.writeFile("w.QVP", scrambled(HandMadePayment));
    WriterSpy spy;
    spy.failure = DataFileWrite{false, false, QStringLiteral("The file \"%1\" could not be written.").arg(path)};
    ScopedPrompts prompts;
    prompts->queueAnswer(platform::Answer::OK);
    EXPECT_FALSE(SavePaymentFile(path, distinctPayment()));
    EXPECT_EQ(prompts->texts(), QStringList({spy.failure->error}));
    EXPECT_EQ(contentOf(path), scrambled(HandMadePayment));
}
