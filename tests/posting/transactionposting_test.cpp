#include "datafiles/datafoldertree.h"
#include "datafiles/transactionheaderfile.h"
#include "platform/vb.h"
#include "postingfixture.h"
#include "posting/postingjournal.h"
#include "posting/transactionposting.h"
#include "posting/writestephook.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <functional>

using namespace postingtest;
using namespace posting;
using datafiles::TransactionHeader;

namespace {

class TransactionPostingTest : public PostingTest {
protected:
    ~TransactionPostingTest() override { setWriteStepHook({}); }

    TransactionResult post(SaveKind kind, const TransactionHeader& h, const QString& path)
    {
        return posting.post({kind, h, path, lineItemBytes(TransactionPosting::fileName(path))});
    }
    QString newTransaction() const { return transactionsFolder() + QStringLiteral("42.QVT"); }

    TransactionPosting posting{store};
};

// The own company's balance and a contact's balance move by the change of the value since
// the last posting, once; an unchanged re-save moves and rewrites nothing of theirs.
TEST_F(TransactionPostingTest, BalancesMoveByTheChangeOfValueAndAnUnchangedSaveMovesNothing)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}, {"Bor", "3"}});
    TransactionHeader h = header(QStringLiteral("250"));
    fromOwnCompany(h);
    toContact(h, bank, 1, QStringLiteral("Ana"));
    const QString path = newTransaction();

    const TransactionResult first = post(SaveKind::SaveAs, h, path);
    ASSERT_EQ(first.outcome, Outcome::Posted) << first.notice.text.toStdString();
    EXPECT_EQ(store.Balance.value(), "750");
    EXPECT_EQ(balanceOf(bank, 1), "257");
    EXPECT_EQ(balanceOf(bank, 2), "3");
    EXPECT_EQ(first.contactFiles, QStringList{bank});

    TransactionHeader changed = first.header;
    changed.Value.Caption = QStringLiteral("300");
    const TransactionResult second = post(SaveKind::Save, changed, path);
    ASSERT_EQ(second.outcome, Outcome::Posted) << second.notice.text.toStdString();
    EXPECT_EQ(store.Balance.value(), "700");
    EXPECT_EQ(balanceOf(bank, 1), "307");
    EXPECT_EQ(storedSetting(47), "700"); // the settings file is written with the posting

    const Snapshot before = snapshot({contactsFolder(), datafiles::programPath("System/RAzar/sys")});
    clock.advanceSeconds(60);
    const TransactionResult again = post(SaveKind::Save, second.header, path);
    ASSERT_EQ(again.outcome, Outcome::Posted);
    EXPECT_EQ(store.Balance.value(), "700");
    EXPECT_EQ(snapshot({contactsFolder(), datafiles::programPath("System/RAzar/sys")}), before);
    EXPECT_EQ(again.contactFiles, QStringList{bank}); // "Transaction Saved" still shows for it
}

struct BalanceCase {
    const char* name;
    bool contactSends; // the contact is the From party (the own company the other one)
    const char* cell;
    const char* value;
    const char* oldvalue;
    SaveKind kind;
    const char* contactAfter;
    const char* ownAfter; // from 1000
};

void PrintTo(const BalanceCase& c, std::ostream* os)
{
    *os << c.name;
}

class ContactBalanceTest : public TransactionPostingTest,
                           public ::testing::WithParamInterface<BalanceCase> {};

// Nothing is rounded: a half stays a half and an unchanged save moves nothing.
TEST_P(ContactBalanceTest, MovesExactlyOnce)
{
    const BalanceCase& c = GetParam();
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", QString::fromLatin1(c.cell)}});
    TransactionHeader h = header(QString::fromLatin1(c.value), QString::fromLatin1(c.oldvalue));
    contactAndOwnCompany(h, bank, QStringLiteral("Ana"), c.contactSends);
    const QString path = transactionsFolder() + QStringLiteral("7.QVT");
    if (c.kind == SaveKind::Save)
        QFile(path).open(QIODevice::WriteOnly);

    const TransactionResult result = post(c.kind, h, path);
    ASSERT_EQ(result.outcome, Outcome::Posted) << result.notice.text.toStdString();
    EXPECT_EQ(balanceOf(bank, 1), c.contactAfter);
    EXPECT_EQ(store.Balance.value(), c.ownAfter);
    EXPECT_EQ(result.header.oldvalue.Caption, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ContactBalanceTest,
    ::testing::Values(
        BalanceCase{"ReceiverGainsAHalf", false, "7", "2.5", "", SaveKind::SaveAs, "9.5", "997.5"},
        BalanceCase{"SenderLosesAHalf", true, "7", "2.5", "", SaveKind::SaveAs, "4.5", "1002.5"},
        BalanceCase{"UnchangedResaveOfAHalf", true, "11", "2.5", "2.5", SaveKind::Save, "11", "1000"},
        BalanceCase{"EmptyCellCountsAsZero", false, "", "2.5", "", SaveKind::SaveAs, "2.5", "997.5"},
        BalanceCase{"NegativeBalance", false, "-300", "100.5", "", SaveKind::SaveAs, "-199.5", "899.5"},
        BalanceCase{"DecimalsWithoutBinaryNoise", true, "0.3", "0.1", "", SaveKind::SaveAs, "0.2", "1000.1"},
        BalanceCase{"SavePostsTheDifference", false, "10", "150", "100", SaveKind::Save, "60", "950"},
        BalanceCase{"SaveAsPostsTheWholeValue", false, "10", "150", "100", SaveKind::SaveAs, "160", "850"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransactionPostingTest, TwoContactPartiesInOneFileAreWrittenTogether)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}, {"Bor", "3"}});
    TransactionHeader h = header(QStringLiteral("2"));
    fromContact(h, bank, 1, QStringLiteral("Ana"));
    toContact(h, bank, 2, QStringLiteral("Bor"));
    const TransactionResult result = post(SaveKind::SaveAs, h, newTransaction());
    ASSERT_EQ(result.outcome, Outcome::Posted) << result.notice.text.toStdString();
    EXPECT_EQ(balanceOf(bank, 1), "5");
    EXPECT_EQ(balanceOf(bank, 2), "5");
    EXPECT_EQ(cellOf(bank, 2, 3), "Street 2"); // the rest of the file as it was
    EXPECT_EQ(store.Balance.value(), "1000");
    EXPECT_EQ(result.contactFiles, (QStringList{bank, bank}));

    // The same contact on both sides ends where it began.
    TransactionHeader same = header(QStringLiteral("2"));
    fromContact(same, bank, 1, QStringLiteral("Ana"));
    toContact(same, bank, 1, QStringLiteral("Ana"));
    ASSERT_EQ(post(SaveKind::SaveAs, same, transactionsFolder() + "43.QVT").outcome, Outcome::Posted);
    EXPECT_EQ(balanceOf(bank, 1), "5");
}

// The header file: its number is the invoice number Save As took, and Save keeps the number
// and the payments as the file on disk holds them; the line items are the grid's bytes.
TEST_F(TransactionPostingTest, HeaderAndLineItemsAreWrittenWithThePosting)
{
    TransactionHeader h = header(QStringLiteral("100"));
    fromOwnCompany(h);
    toContact(h, company(QStringLiteral("Bank.QVC"), {{"Ana", "0"}}), 1, QStringLiteral("Ana"));
    const QString typed = transactionsFolder() + QStringLiteral("x.qvt");
    const QString path = typed + QStringLiteral(".QVT");
    const TransactionResult saved = post(SaveKind::SaveAs, h, typed);
    ASSERT_EQ(saved.outcome, Outcome::Posted) << saved.notice.text.toStdString();
    EXPECT_EQ(saved.FileName, path);
    EXPECT_EQ(contentOf(path), lineItemBytes(path));
    EXPECT_EQ(store.InvoiceNumber.value(), "42");
    EXPECT_EQ(storedSetting(48), "42");
    QStringList lines = storedLines(path + "H");
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines[0], "42");
    EXPECT_EQ(lines[1], platform::vb::GeneralDate(clock.when()));

    // A payment of 40 reached the header file since; the window still shows no payment and
    // the invoice counter has moved on.
    lines[15] = QStringLiteral("40");
    lines[16] = QStringLiteral("60");
    TransactionHeader onDisk;
    datafiles::assignLines(datafiles::transactionHeaderLines(onDisk), lines);
    ASSERT_TRUE(datafiles::SaveTransactionHeader(path + "H", onDisk));
    store.InvoiceNumber = QStringLiteral("50");

    TransactionHeader resaved = saved.header;
    resaved.TransactionNumber.Caption = QStringLiteral("50");
    const TransactionResult unchanged = post(SaveKind::Save, resaved, path);
    ASSERT_EQ(unchanged.outcome, Outcome::Posted);
    lines = storedLines(path + "H");
    EXPECT_EQ(lines[0], "42");
    EXPECT_EQ(lines[15], "40");
    EXPECT_EQ(lines[16], "60");
    EXPECT_EQ(unchanged.header.AmountPaid.Caption, "40");

    resaved.Value.Caption = QStringLiteral("120"); // the open balance follows the new value
    ASSERT_EQ(post(SaveKind::Save, resaved, path).outcome, Outcome::Posted);
    lines = storedLines(path + "H");
    EXPECT_EQ(lines[2], "120");
    EXPECT_EQ(lines[15], "40");
    EXPECT_EQ(lines[16], "80");
    EXPECT_EQ(store.InvoiceNumber.value(), "50");
}

struct Refused {
    const char* name;
    std::function<void(TransactionHeader&, const QString& bank, const QString& shop)> change;
    SaveKind kind;
    Refusal refusal;
    const char* text; // "" when the text names a temporary path
};

void PrintTo(const Refused& c, std::ostream* os)
{
    *os << c.name;
}

class TransactionRefusalTest : public TransactionPostingTest,
                               public ::testing::WithParamInterface<Refused> {
protected:
    static QString saveAsPath() { return datafiles::programPath("System/RAzar/Transactions/43.QVT"); }
};

// Each refusal comes before the first change: every file stays byte for byte as it was, the
// invoice counter included, and no journal is left.
TEST_P(TransactionRefusalTest, ChangesNothing)
{
    const Refused& c = GetParam();
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}, {"Bor", "3"}});
    const QString shop = company(QStringLiteral("Shop.QVC"), {{"Cene", "5"}});
    const QString path = transactionsFolder() + QStringLiteral("42.QVT");
    QFile(path).open(QIODevice::WriteOnly); // an existing transaction that Save writes over
    TransactionHeader h = header(QStringLiteral("100"));
    fromContact(h, bank, 1, QStringLiteral("Ana"));
    toContact(h, shop, 1, QStringLiteral("Cene"));
    c.change(h, bank, shop);
    const Snapshot before = snapshot({program.path()});

    const TransactionResult result = post(c.kind, h, c.kind == SaveKind::Save ? path : saveAsPath());
    EXPECT_EQ(result.outcome, Outcome::Refused);
    EXPECT_EQ(result.refusal, c.refusal) << result.notice.text.toStdString();
    if (*c.text) {
        EXPECT_EQ(result.notice.text, c.text);
    }
    EXPECT_FALSE(result.notice.text.isEmpty());
    EXPECT_EQ(result.notice.style, platform::MsgStyle::Critical);
    EXPECT_EQ(snapshot({program.path()}), before);
    EXPECT_EQ(store.Balance.value(), "1000");
    EXPECT_EQ(store.InvoiceNumber.value(), "41");
}

void writeBytes(const QString& file, const char* bytes)
{
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
}

void setBalance(const QString& file, const char* balance)
{
    EXPECT_TRUE(writeCompanyFile(file, {{"Cene", QString::fromLatin1(balance)}}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransactionRefusalTest,
    ::testing::Values(
        Refused{"ValueBelowATenth", [](auto& h, auto&, auto&) { h.Value.Caption = "0.09"; }, SaveKind::Save,
                Refusal::NoValue, "Can't transfer without value!"},
        Refused{"EmptyValue", [](auto& h, auto&, auto&) { h.Value.Caption = ""; }, SaveKind::SaveAs,
                Refusal::NoValue, "Can't transfer without value!"},
        Refused{"ValueNotANumber", [](auto& h, auto&, auto&) { h.Value.Caption = "abc"; }, SaveKind::Save,
                Refusal::NoValue, "Can't transfer without value!"},
        Refused{"OwnCompanyUnnamed", [](auto& h, auto&, auto&) { fromOwnCompany(h, ""); },
                SaveKind::Save, Refusal::FromCompanyUnnamed, "Name your Company first!"},
        Refused{"NoSendingContact", [](auto& h, auto&, auto&) { h.fromcontact.Caption = ""; }, SaveKind::Save,
                Refusal::FromPartyMissing, "Select the Company and Contact this transfer is coming from!"},
        Refused{"NoReceiverOnSave", [](auto& h, auto&, auto&) { h.tocompany.Caption = ""; }, SaveKind::Save,
                Refusal::ToPartyMissing, "Select the Company that this transfer is going to!"},
        Refused{"NoReceiverOnSaveAs", [](auto& h, auto&, auto&) { h.tocompany.Caption = ""; }, SaveKind::SaveAs,
                Refusal::ToPartyMissing, "Select the Company and Contact this transfer is going to!"},
        Refused{"OwnCompanyOnBothSides",
                [](auto& h, auto&, auto&) {
                    fromOwnCompany(h);
                    toOwnCompany(h);
                },
                SaveKind::Save, Refusal::BothOwnCompany, "Can't transfer from and to your company!"},
        Refused{"SenderFileGoneOnSave", [](auto& h, auto&, auto&) { h.fromcompany.Caption += "x"; }, SaveKind::Save,
                Refusal::FromFileMissing,
                "File for the Company that this transfer is coming from don't exist anymore. Transaction can't "
                "be completed!"},
        Refused{"ReceiverFileGoneOnSaveAs", [](auto&, auto&, auto& shop) { QFile::remove(shop); }, SaveKind::SaveAs,
                Refusal::ToFileMissing,
                "File for the Company that you select this transfer is going to don't exist anymore. Therefore, "
                "this transaction can't be completed!"},
        Refused{"ReceiverLockedSenderUntouched", [](auto&, auto&, auto& shop) { lock(shop, "PC-2"); },
                SaveKind::Save, Refusal::ToLocked,
                "File for the Company that this transfer is going to is open for editing by PC-2. Therefore, this "
                "transaction will not be completed!"},
        Refused{"SenderLockedByThisMachine", [](auto&, auto& bank, auto&) { lock(bank, "THIS-PC"); },
                SaveKind::Save, Refusal::FromLocked,
                "File for the Company that this transfer is coming from is open for editing by THIS-PC. "
                "Therefore, this transaction will not be completed!"},
        Refused{"SenderRowHoldsAnother", [](auto& h, auto&, auto&) { h.fromcompanyiselected.Caption = "2"; },
                SaveKind::Save, Refusal::FromContactNotFound, ""},
        Refused{"ReceiverRowPastTheEnd", [](auto& h, auto&, auto&) { h.tocompanyiselected.Caption = "9"; },
                SaveKind::Save, Refusal::ToContactNotFound, ""},
        Refused{"ReceiverRowNotANumber", [](auto& h, auto&, auto&) { h.tocompanyiselected.Caption = "x"; },
                SaveKind::Save, Refusal::ToContactNotFound, ""},
        Refused{"BalanceNotANumber", [](auto&, auto&, auto& shop) { setBalance(shop, "n/a"); }, SaveKind::Save,
                Refusal::BalanceNotNumber, ""},
        Refused{"BalanceReadsTwoWays", [](auto&, auto&, auto& shop) { setBalance(shop, "1,500"); }, SaveKind::Save,
                Refusal::BalanceAmbiguous, ""},
        Refused{"SenderFileEmpty", [](auto&, auto& bank, auto&) { writeBytes(bank, ""); }, SaveKind::Save,
                Refusal::FileUnreadable, ""},
        Refused{"ReceiverFileOfGarbage",
                [](auto&, auto&, auto& shop) { writeBytes(shop, "\x01\x02 not a list file\r\n\xff\xfe"); },
                SaveKind::SaveAs, Refusal::FileUnreadable, ""},
        // Written back whole, a file cut short would look whole, its missing rows gone unnoticed.
        Refused{"ReceiverFileCutShort",
                [](auto&, auto&, auto& shop) {
                    QFile file(shop);
                    ASSERT_TRUE(file.resize(70));
                },
                SaveKind::Save, Refusal::FileUnreadable, ""},
        Refused{"SenderFileWithoutItsLastLineEnd",
                [](auto&, auto& bank, auto&) {
                    QFile file(bank);
                    ASSERT_TRUE(file.resize(file.size() - 2));
                },
                SaveKind::SaveAs, Refusal::FileUnreadable, ""},
        Refused{"BalanceBeyondADouble",
                [](auto& h, auto&, auto& shop) {
                    setBalance(shop, "1.7E+308");
                    h.Value.Caption = "1E+308";
                },
                SaveKind::Save, Refusal::BalanceTooLarge, ""},
        Refused{"PostedValueNotANumber", [](auto& h, auto&, auto&) { h.oldvalue.Caption = "abc"; }, SaveKind::Save,
                Refusal::OldValueNotNumber, ""},
        Refused{"SaveAsOntoAnExistingHeader",
                [](auto&, auto&, auto&) {
                    QFile(datafiles::programPath("System/RAzar/Transactions/43.QVTH")).open(QIODevice::WriteOnly);
                },
                SaveKind::SaveAs,
                Refusal::TransactionFileExists, ""},
        Refused{"FolderThatIsNotThere",
                [](auto&, auto&, auto&) {
                    QDir(datafiles::programPath("System/RAzar/Transactions")).removeRecursively();
                },
                SaveKind::Save, Refusal::NotWritable, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransactionPostingTest, SenderRefusalNamesTheContactAndItsFile)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}, {"Bor", "3"}});
    TransactionHeader h = header(QStringLiteral("100"));
    fromContact(h, bank, 2, QStringLiteral("Ana"));
    toOwnCompany(h);
    const TransactionResult result = post(SaveKind::SaveAs, h, newTransaction());
    EXPECT_EQ(result.notice.text, "Ana is not found on the location you selected in the " + bank
                                      + " 's file. To save transaction, again select contact and click on "
                                        "'Transfer from'.");
    EXPECT_EQ(result.notice.title, "Transactions Header Menu");
}

// A balance cell whose text means 1500 to one reader and 1.5 to another is not posted into;
// the message names the company file, the contact and the text. "1,5" and "1.500,50" say
// what they mean and are posted as ever.
TEST_F(TransactionPostingTest, ABalanceThatReadsTwoWaysIsNotGuessed)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "1,500"}, {"Bor", "1,5"}, {"Cene", "1.500,50"}});
    TransactionHeader h = header(QStringLiteral("100"));
    fromOwnCompany(h);
    toContact(h, bank, 1, QStringLiteral("Ana"));
    const TransactionResult refused = post(SaveKind::SaveAs, h, newTransaction());
    EXPECT_EQ(refused.refusal, Refusal::BalanceAmbiguous);
    EXPECT_EQ(refused.notice.text,
              "The balance of Ana in " + bank
                  + " is \"1,500\", which reads as 1500 to some and as 1.5 to others: a comma before three digits may "
                    "group thousands or separate decimals. Write it with \".\" as the decimal separator and without "
                    "grouping, and save again. Therefore, this transaction will not be completed!");
    EXPECT_EQ(balanceOf(bank, 1), "1,500");
    EXPECT_EQ(store.Balance.value(), "1000");

    toContact(h, bank, 2, QStringLiteral("Bor"));
    ASSERT_EQ(post(SaveKind::SaveAs, h, newTransaction()).outcome, Outcome::Posted);
    EXPECT_EQ(balanceOf(bank, 2), "101.5");
    toContact(h, bank, 3, QStringLiteral("Cene"));
    ASSERT_EQ(post(SaveKind::SaveAs, h, transactionsFolder() + QStringLiteral("43.QVT")).outcome, Outcome::Posted);
    EXPECT_EQ(balanceOf(bank, 3), "1600.5");
}

struct DamagedValue {
    const char* name;
    const char* stored; // the header file's value line
};

void PrintTo(const DamagedValue& c, std::ostream* os)
{
    *os << c.name;
}

class DamagedHeaderValueTest : public TransactionPostingTest,
                               public ::testing::WithParamInterface<DamagedValue> {};

// Save posts the change since the value the header file says was posted. A value line that is
// empty, not a number or negative was not written by a posting: the Save is refused, naming
// the file, rather than post the whole value (or more) a second time.
TEST_P(DamagedHeaderValueTest, RefusesTheSave)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "355.25"}});
    TransactionHeader h = header(QStringLiteral("100"));
    fromOwnCompany(h);
    toContact(h, bank, 1, QStringLiteral("Ana"));
    const TransactionResult saved = post(SaveKind::SaveAs, h, newTransaction());
    ASSERT_EQ(saved.outcome, Outcome::Posted);
    ASSERT_EQ(balanceOf(bank, 1), "455.25");

    TransactionHeader damaged = saved.header;
    damaged.Value.Caption = QString::fromLatin1(GetParam().stored);
    const QString headerPath = saved.FileName + QStringLiteral("H");
    ASSERT_TRUE(datafiles::SaveTransactionHeader(headerPath, damaged));
    TransactionHeader opened;
    ASSERT_EQ(datafiles::LoadTransactionHeader(headerPath, opened), datafiles::LineFileReader::Status::Accepted);
    opened.Value.Caption = QStringLiteral("100"); // the window's value: the sum of its lines
    const Snapshot before = snapshot({program.path()});

    const TransactionResult result = post(SaveKind::Save, opened, saved.FileName);
    EXPECT_EQ(result.outcome, Outcome::Refused);
    EXPECT_EQ(result.refusal, Refusal::HeaderUnreadable);
    EXPECT_TRUE(result.notice.text.contains(headerPath)) << result.notice.text.toStdString();
    EXPECT_EQ(result.notice.title, "Transaction Header File");
    EXPECT_EQ(snapshot({program.path()}), before);
    EXPECT_EQ(balanceOf(bank, 1), "455.25");
    EXPECT_EQ(store.Balance.value(), "900");
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedHeaderValueTest,
                         ::testing::Values(DamagedValue{"Empty", ""}, DamagedValue{"NotANumber", "abc"},
                                           DamagedValue{"Negative", "-100"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A file the posting would replace but cannot read (here a folder stands at the
// transaction's name) cannot be recorded in the journal as it is: nothing is written and the
// posting is told as not saved, rather than left to a journal no completion can finish.
TEST_F(TransactionPostingTest, AFileThatCannotBeReadIsNotReplaced)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}});
    TransactionHeader h = header(QStringLiteral("100"));
    fromOwnCompany(h);
    toContact(h, bank, 1, QStringLiteral("Ana"));
    QDir().mkpath(newTransaction());
    const Snapshot before = snapshot({program.path()});

    const TransactionResult result = post(SaveKind::Save, h, newTransaction());
    EXPECT_EQ(result.outcome, Outcome::NotWritten) << result.notice.text.toStdString();
    EXPECT_TRUE(result.notice.text.contains("\"" + newTransaction() + "\" could not be read"))
        << result.notice.text.toStdString();
    EXPECT_EQ(snapshot({program.path()}), before);
    EXPECT_FALSE(PostingJournal::exists());
    EXPECT_EQ(store.Balance.value(), "1000");
}

// A write that fails half way puts back every file already replaced: the posting has not
// happened, and the window may try again.
TEST_F(TransactionPostingTest, AFailedWritePutsEveryFileBack)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}});
    TransactionHeader h = header(QStringLiteral("100"));
    fromOwnCompany(h);
    toContact(h, bank, 1, QStringLiteral("Ana"));
    const Snapshot before = snapshot({program.path()});
    for (const int failing : {1, 2, 3, 4, 5, 6}) { // company file, header, items, settings, journal, its name
        SCOPED_TRACE(failing);
        setWriteStepHook([failing](int step) { return step != failing; });
        const TransactionResult result = post(SaveKind::SaveAs, h, newTransaction());
        EXPECT_EQ(result.outcome, Outcome::NotWritten);
        EXPECT_FALSE(result.posted());
        EXPECT_TRUE(result.notice.text.startsWith("The transaction was not saved and no balance was changed."));
        EXPECT_EQ(snapshot({program.path()}), before);
        EXPECT_EQ(store.Balance.value(), "1000");
        EXPECT_EQ(store.InvoiceNumber.value(), "41");
    }
}

// A rename that fails once the journal is whole leaves the journal: the posting counts as
// made, and the next posting or start completes it.
TEST_F(TransactionPostingTest, APostingWhoseRenameFailsIsCompletedLater)
{
    const QString bank = company(QStringLiteral("Bank.QVC"), {{"Ana", "7"}});
    TransactionHeader h = header(QStringLiteral("100"));
    fromOwnCompany(h);
    toContact(h, bank, 1, QStringLiteral("Ana"));
    const QString away = program.filePath("Transactions-away");
    // Replacements of the company file, header, items and settings, the journal written and
    // made visible, the company file's rename, then the header's.
    setWriteStepHook([&](int step) {
        if (step != 8)
            return true;
        QDir().rename(transactionsFolder(), away); // the share is gone for a moment
        return false;
    });
    const TransactionResult result = post(SaveKind::SaveAs, h, newTransaction());
    setWriteStepHook({});
    EXPECT_EQ(result.outcome, Outcome::Deferred);
    EXPECT_TRUE(result.posted());
    EXPECT_EQ(store.Balance.value(), "900");
    EXPECT_TRUE(PostingJournal::exists());

    QDir().rename(away, transactionsFolder());
    EXPECT_EQ(CompletePendingPosting().state, PendingPosting::State::Completed);
    EXPECT_FALSE(PostingJournal::exists());
    EXPECT_EQ(balanceOf(bank, 1), "107");
    EXPECT_EQ(storedSetting(47), "900");
    EXPECT_EQ(storedSetting(48), "42");
    EXPECT_EQ(contentOf(newTransaction()), lineItemBytes(newTransaction()));
}

} // namespace
