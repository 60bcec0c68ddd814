// Shows the payments window as a user has it after choosing a transaction with Open
// Transaction and typing a part payment and a note, and saves its picture:
// paymentshot <picture.png>. Everything it shows is fixed (the transaction, the contact
// company file, the clock, the style and the fonts), so the same build gives the same picture
// every time. The window manager's title bar is drawn above the window, with its caption.

#include "datafiles/settingsstore.h"
#include "datafiles/transactionheader.h"
#include "datafiles/transactionheaderfile.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "platform/clock.h"
#include "platform/commondialog.h"
#include "platform/programfolder.h"
#include "platform/prompts.h"
#include "platform/safefile.h"
#include "shotsupport.h"
#include "windows/payments/frmpayments.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>

namespace {

bool writeCompany(const QString& path)
{
    grid::GridCore g;
    g.SetColumnHeader(1, QStringLiteral("Contact Name"));
    g.AddColumn(0, 80, QStringLiteral("Balance"));
    g.AddMoreThanOneRow(1);
    g.ChangeItem(1, 1, QStringLiteral("Ivo Kern"));
    g.ChangeItem(1, 2, QStringLiteral("0"));
    g.ChangeItem(2, 1, QStringLiteral("Marta Novak"));
    g.ChangeItem(2, 2, QStringLiteral("-1250.4"));
    grid::GridFile file(g);
    return file.SaveFileAs(path, true).ok;
}

// A transaction of 1250.40 from the own company to Marta Novak, 400 of it paid already.
bool writeTransaction(const QString& path, const QString& company)
{
    datafiles::TransactionHeader h;
    h.TransactionNumber.Caption = QStringLiteral("1042");
    h.DateandTime.Caption = QStringLiteral("03/12/2026 14:20:05");
    h.Value.Caption = QStringLiteral("1250.4");
    h.FromMyCompany = {QStringLiteral("Kos Joinery Ltd"), true};
    h.ToMyCompany = {QStringLiteral("Kos Joinery Ltd"), false};
    h.tocompany = {company, true};
    h.tocontact = {QStringLiteral("Marta Novak"), true};
    h.AmountPaid.Caption = QStringLiteral("400");
    h.tocompanyiselected.Caption = QStringLiteral("2");
    return platform::writeFileAtomically(path, QByteArray()).ok
        && datafiles::SaveTransactionHeader(path + QStringLiteral("H"), h);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: paymentshot <picture.png>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    windowshot::fixLook();

    QTemporaryDir programFolder;
    platform::setProgramFolder(programFolder.path());
    platform::pinClock(QDateTime(QDate(2026, 12, 10), QTime(11, 30, 0)));
    const QString data = programFolder.path() + QStringLiteral("/System/RAzar/");
    const QString company = data + QStringLiteral("Contacts/Brankar Timber.QVC");
    const QString transaction = data + QStringLiteral("Transactions/1042.QVT");

    datafiles::SettingsStore store;
    store.CompanyName = QStringLiteral("Kos Joinery Ltd");
    platform::CommonDialog CommonDialog4;
    windowshot::Choosing prompts(transaction);
    windows::frmPayments window({store, CommonDialog4, prompts, nullptr});
    if (!writeCompany(company) || !writeTransaction(transaction, company)) {
        std::fprintf(stderr, "paymentshot: the sample could not be written\n");
        return 1;
    }

    window.show();
    window.cmdFind_Click();
    window.PaymentValue()->setText(QStringLiteral("500"));
    window.Note()->setPlainText(QStringLiteral("Second instalment, paid by bank transfer on the 10th."));
    QApplication::processEvents();

    const QImage picture = windowshot::withTitleBar(window.grab().toImage(), window.windowTitle());
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "paymentshot: %s could not be written\n", argv[1]);
        return 1;
    }
    platform::pinClock(QDateTime());
    platform::setProgramFolder(QString());
    return 0;
}
