#include "datafiles/datafoldertree.h"
#include "datafiles/hostfile.h"
#include "datafiles/paymentheaderexchange.h"
#include "datafiles/transactionheaderfile.h"
#include "postingfixture.h"
#include "posting/paymentposting.h"
#include "posting/transactionposting.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QTemporaryDir>

using namespace postingtest;
using namespace posting;
using datafiles::TransactionHeader;

namespace {

// This machine is a user of a host whose share lies in a second folder; the host machine's
// own store writes and reads the host file there.
class NetworkPostingTest : public PostingTest {
protected:
    NetworkPostingTest()
    {
        fillFirma(hostStore);
        EXPECT_TRUE(makeHost(hostStore, share()));

        store.setNetworkPathTest(onShare);
        store.OptionUser = true;
        store.lblConnectedtohostname = hostFile();
        store.lblConnectedtohostsystem = share();
        store.Balance = QStringLiteral("0");
        EXPECT_TRUE(datafiles::ReadHostFile(store));
        saveSettings();
    }

    QString share() const { return hostFolder.path() + QStringLiteral("/share/"); }
    QString hostFile() const { return share() + QStringLiteral("Firma.QVNET"); }
    QString sharedFolder(const char* kind) const { return share() + "QVNET/RAzar/" + kind + "/"; }

    // Another machine posts meanwhile: the host file holds other values now.
    void anotherMachinePosts(const QString& balance, const QString& invoices, const QString& payments)
    {
        hostStore.Balance = balance;
        hostStore.InvoiceNumber = invoices;
        hostStore.PaymentNumber = payments;
        ASSERT_TRUE(datafiles::WriteHostFile(hostStore));
    }

    // What the host machine reads from its host file.
    void hostReads()
    {
        ASSERT_TRUE(datafiles::ReadHostFile(hostStore));
    }

    Snapshot everything() const { return snapshot({program.path(), hostFolder.path()}); }

    QTemporaryDir hostFolder;
    datafiles::SettingsStore hostStore;
};

// The posting applies its change to the host's values as they are when it posts, in the
// connected host's own host file, and changes nothing else there.
TEST_F(NetworkPostingTest, AUsersTransactionReachesTheHostFile)
{
    ASSERT_EQ(store.Balance.value(), "1000");
    const QString bank = sharedFolder("Contacts") + "Bank.QVC";
    ASSERT_TRUE(writeCompanyFile(bank, {{"Ana", "7"}}));
    TransactionHeader h = header(QStringLiteral("250"));
    fromOwnCompany(h);
    toContact(h, bank, 1, QStringLiteral("Ana"));
    TransactionPosting posting(store);
    ASSERT_TRUE(posting.checkEntry(h, SaveKind::SaveAs));
    posting.reloadSharedValues();
    EXPECT_EQ(posting.nextFileName(), "42.QVT");
    const QStringList hostBefore = hostLines(hostFile());

    anotherMachinePosts("1100", "42", "7");
    const QString path = sharedFolder("Transactions") + "42a.QVT";
    const TransactionResult result = posting.post({SaveKind::SaveAs, h, path, lineItemBytes(path)});
    ASSERT_EQ(result.outcome, Outcome::Posted) << result.notice.text.toStdString();
    EXPECT_EQ(result.header.TransactionNumber.Caption, "43");
    EXPECT_EQ(store.Balance.value(), "850");
    EXPECT_EQ(store.InvoiceNumber.value(), "43");
    EXPECT_EQ(storedSetting(47), "850");
    EXPECT_EQ(storedSetting(48), "43");
    EXPECT_EQ(balanceOf(bank, 1), "257");

    QStringList hostAfter = hostLines(hostFile());
    EXPECT_EQ(hostAfter.value(1), "850");
    EXPECT_EQ(hostAfter.value(2), "43");
    for (const int changed : {2, 3}) // the others stay as the host wrote them
        hostAfter[changed - 1] = hostBefore.value(changed - 1);
    hostAfter[16] = hostBefore.value(16); // except the moment the other machine wrote
    EXPECT_EQ(hostAfter, hostBefore);
    hostReads();
    EXPECT_EQ(hostStore.Balance.value(), "850");
    EXPECT_EQ(hostStore.InvoiceNumber.value(), "43");
}

TEST_F(NetworkPostingTest, AUsersPaymentReachesTheHostFile)
{
    const QString bank = sharedFolder("Contacts") + "Bank.QVC";
    ASSERT_TRUE(writeCompanyFile(bank, {{"Ana", "7"}}));
    TransactionHeader h = header(QStringLiteral("500"));
    fromContact(h, bank, 1, QStringLiteral("Ana"));
    toOwnCompany(h);
    const QString headerPath = sharedFolder("Transactions") + "9.QVTH";
    ASSERT_TRUE(datafiles::SaveTransactionHeader(headerPath, h));
    datafiles::PaymentRecord record;
    ASSERT_EQ(datafiles::LoadHeaderForPayment(headerPath, record, store), datafiles::PaymentHeaderLoad::Loaded);
    record.setPaymentValueText(QStringLiteral("100"));

    anotherMachinePosts("900", "41", "9");
    PaymentPosting posting(store);
    const PaymentResult result = posting.post({record, sharedFolder("Payments") + "8.QVP"});
    ASSERT_EQ(result.outcome, Outcome::Posted) << result.notice.text.toStdString();
    EXPECT_EQ(store.Balance.value(), "800");
    EXPECT_EQ(store.PaymentNumber.value(), "10");
    EXPECT_EQ(balanceOf(bank, 1), "107");
    hostReads();
    EXPECT_EQ(hostStore.Balance.value(), "800");
    EXPECT_EQ(hostStore.PaymentNumber.value(), "10");
    EXPECT_EQ(storedSetting(61), "10");
}

TEST_F(NetworkPostingTest, TheHostsOwnPostingWritesItsHostFile)
{
    const QString bank = sharedFolder("Contacts") + "Bank.QVC";
    ASSERT_TRUE(writeCompanyFile(bank, {{"Ana", "7"}}));
    TransactionHeader h = header(QStringLiteral("100"));
    fromContact(h, bank, 1, QStringLiteral("Ana"));
    toOwnCompany(h);
    TransactionPosting posting(hostStore);
    const QString path = sharedFolder("Transactions") + "42.QVT";
    const TransactionResult result = posting.post({SaveKind::SaveAs, h, path, lineItemBytes(path)});
    ASSERT_EQ(result.outcome, Outcome::Posted) << result.notice.text.toStdString();
    EXPECT_EQ(hostStore.Balance.value(), "1100");
    ASSERT_TRUE(datafiles::ReadHostFile(store));
    EXPECT_EQ(store.Balance.value(), "1100");
    EXPECT_EQ(store.InvoiceNumber.value(), "42");
}

// The host wrote its host file from the values it had read (a switch of the settings window
// writes it): a user's posting made since is not put back. A value the host changed itself
// is its own and is written.
TEST_F(NetworkPostingTest, TheHostsSettingsNeverPutAnOlderBalanceBack)
{
    hostReads();
    const QString bank = sharedFolder("Contacts") + "Bank.QVC";
    ASSERT_TRUE(writeCompanyFile(bank, {{"Ana", "7"}}));
    TransactionHeader h = header(QStringLiteral("100.1"));
    fromOwnCompany(h);
    toContact(h, bank, 1, QStringLiteral("Ana"));
    TransactionPosting posting(store);
    const QString path = sharedFolder("Transactions") + "42.QVT";
    ASSERT_EQ(posting.post({SaveKind::SaveAs, h, path, lineItemBytes(path)}).outcome, Outcome::Posted);
    const QString posted = hostLines(hostFile()).value(1);
    ASSERT_NE(posted, "1000");

    hostStore.CheckReadWrite.Value = 0; // the host's switch, written at once
    ASSERT_TRUE(datafiles::WriteHostFile(hostStore));
    QStringList lines = hostLines(hostFile());
    EXPECT_EQ(lines.value(1), posted);
    EXPECT_EQ(lines.value(2), "42");
    EXPECT_EQ(lines.value(13), "0");
    EXPECT_EQ(hostStore.Balance.value(), posted) << "the host shows what it wrote";

    hostStore.PaymentNumber = QStringLiteral("20"); // typed in the settings window
    ASSERT_TRUE(datafiles::WriteHostFile(hostStore));
    lines = hostLines(hostFile());
    EXPECT_EQ(lines.value(11), "20");
    EXPECT_EQ(lines.value(1), posted);
}

class NetworkRefusalTest;

struct NetworkRefused {
    const char* name;
    std::function<void(NetworkRefusalTest&)> change;
    Refusal refusal;
    const char* text;
};

void PrintTo(const NetworkRefused& c, std::ostream* os)
{
    *os << c.name;
}

class NetworkRefusalTest : public NetworkPostingTest, public ::testing::WithParamInterface<NetworkRefused> {
public:
    void lockOutUsers()
    {
        hostStore.CheckReadWrite.Value = 0;
        ASSERT_TRUE(datafiles::WriteHostFile(hostStore));
        ASSERT_TRUE(datafiles::ReadHostFile(store));
    }
    void dropSharedTransactions() { QDir(sharedFolder("Transactions")).removeRecursively(); }
    void spoilHostFile() { writeBytes(hostFile(), "not a host file"); }
    static void writeBytes(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
    }
};

// A refused posting changes nothing on either machine.
TEST_P(NetworkRefusalTest, ChangesNothingOnEitherSide)
{
    const NetworkRefused& c = GetParam();
    const QString bank = sharedFolder("Contacts") + "Bank.QVC";
    ASSERT_TRUE(writeCompanyFile(bank, {{"Ana", "7"}}));
    TransactionHeader h = header(QStringLiteral("100"));
    fromOwnCompany(h);
    toContact(h, bank, 1, QStringLiteral("Ana"));
    const QString path = program.filePath("elsewhere.QVT");
    c.change(*this);
    const Snapshot before = everything();
    TransactionPosting posting(store);
    const TransactionResult result = posting.post({SaveKind::SaveAs, h, path, lineItemBytes(path)});
    EXPECT_EQ(result.refusal, c.refusal) << result.notice.text.toStdString();
    if (*c.text) {
        EXPECT_EQ(result.notice.text, c.text);
    }
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(store.Balance.value(), "1000");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NetworkRefusalTest,
    ::testing::Values(
        NetworkRefused{"UsersMayOnlyRead", [](NetworkRefusalTest& t) { t.lockOutUsers(); },
                       Refusal::NetworkUserMayNotWrite,
                       "Network users are not allowed to edit files. Contact your network host for assistance. "},
        NetworkRefused{"SharedFolderGone",
                       [](NetworkRefusalTest& t) { t.dropSharedTransactions(); },
                       Refusal::NetworkFolderMissing,
                       "Network connection error. Can't find Network Transactions Directory."},
        NetworkRefused{"HostFileSpoilt", [](NetworkRefusalTest& t) { t.spoilHostFile(); },
                       Refusal::HostFileUnreadable, ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
