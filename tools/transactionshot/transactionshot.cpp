// Shows the transactions window as a user has it after opening a transaction, with its Header
// menu pulled down to the receiving contact, and saves its picture:
// transactionshot <picture.png> [<new transaction picture.png>]. The second picture is a new
// transaction (File > New) with a column "Note" added and typed into, row by row, as a user
// types: a click into its first cell, "rush", Tab, "ok". Everything it shows is fixed (the transaction and its
// header file, the window's size, the style and the fonts), so the same build gives the
// same picture every time.

#include "shotsupport.h"

#include "datafiles/transactionheaderfile.h"
#include "grid/documents/documentlist.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "platform/programfolder.h"
#include "platform/vb.h"
#include "windows/transactions/frmtransactions.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

bool writeContacts(const QString& path)
{
    grid::GridCore g;
    g.SetColumnHeader(1, QStringLiteral("Contact Name"));
    g.AddColumn(0, 80, QStringLiteral("Balance"));
    g.AddMoreThanOneRow(1);
    g.ChangeItem(1, 1, QStringLiteral("Marta Kos"));
    g.ChangeItem(1, 2, QStringLiteral("0"));
    g.ChangeItem(2, 1, QStringLiteral("Jure Zupan"));
    g.ChangeItem(2, 2, QStringLiteral("0"));
    grid::GridFile file(g);
    return file.SaveFileAs(path, true).ok;
}

// The line items, and the header file whose value is their sum.
bool writeTransaction(const QString& path, const QString& contacts)
{
    grid::GridCore g;
    g.SetColumnHeader(1, QStringLiteral("Item Name"));
    g.LetWidthColumn(1, 220);
    g.AddColumn(0, 60, QStringLiteral("Price"));
    g.AddColumn(0, 60, QStringLiteral("Quantity"));
    g.AddColumn(0, 60, QStringLiteral("Total"));
    const char* lines[][3] = {
        {"Oak board 20 mm", "24.5", "12"},     {"Pine batten 40x20", "3.2", "30"},
        {"Wood glue 1 kg", "9.9", "2"},        {"Brass hinge 60 mm", "1.75", "16"},
        {"Wood screws 4x40", "6.4", "3"},      {"Varnish, clear 0.75 l", "14", "2"},
        {"Drawer runner 450 mm", "12.3", "4"},
    };
    g.AddMoreThanOneRow(29);
    double value = 0;
    int r = 0;
    for (const auto& line : lines) {
        ++r;
        const double total = platform::vb::CDbl(QString::fromLatin1(line[1])).value_or(0)
            * platform::vb::CDbl(QString::fromLatin1(line[2])).value_or(0);
        value += total;
        g.ChangeItem(r, 1, QString::fromLatin1(line[0]));
        g.ChangeItem(r, 2, QString::fromLatin1(line[1]));
        g.ChangeItem(r, 3, QString::fromLatin1(line[2]));
        g.ChangeItem(r, 4, platform::vb::CStr(total));
    }
    grid::GridFile file(g);
    if (!file.SaveFileAs(path, true))
        return false;
    datafiles::TransactionHeader h;
    h.TransactionNumber.Caption = QStringLiteral("42");
    h.DateandTime.Caption = QStringLiteral("10.12.2026 09:30:00");
    h.Value.Caption = platform::vb::CStr(value);
    h.FromMyCompany = {QStringLiteral("Brankar Woodworks"), true};
    h.ToMyCompany = {QStringLiteral("Brankar Woodworks"), false};
    h.tocompany = {contacts, true};
    h.tocontact = {QStringLiteral("Marta Kos"), true};
    h.tocompanyiselected.Caption = QStringLiteral("1");
    h.AmountPaid.Caption = QStringLiteral("200");
    h.Balance.Caption = platform::vb::CStr(value - 200);
    return datafiles::SaveTransactionHeader(path + QStringLiteral("H"), h);
}

// A menu as it is drawn pulled down.
QImage pulledDown(QMenu& menu, const QPoint& at)
{
    menu.popup(at);
    QApplication::processEvents();
    return menu.grab().toImage();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: transactionshot <picture.png> [<new transaction picture.png>]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    windowshot::fixLook();

    QTemporaryDir programFolder;
    platform::setProgramFolder(programFolder.path());
    datafiles::SettingsStore store;
    store.lblEXCELSTATUS = QStringLiteral("RADI");
    store.CompanyName = QStringLiteral("Brankar Woodworks");
    store.InvoiceNumber = QStringLiteral("42");
    store.frmTransactionsLeft = QStringLiteral("0");
    store.frmTransactionsTop = QStringLiteral("0");
    store.frmTransactionsWidth = QStringLiteral("10500");
    store.frmTransactionsHeight = QStringLiteral("5400");
    const QString data = programFolder.path() + QStringLiteral("/System/RAzar/");
    const QString sample = data + QStringLiteral("Transactions/42.QVT");
    platform::CommonDialog CommonDialog3;
    windowshot::Choosing prompts(sample);
    windowshot::Surroundings around(store);
    windows::frmTransactions window({store, CommonDialog3, prompts, &around, &around});
    around.shown = &window;
    const QString contacts = data + QStringLiteral("Contacts/Lepko.QVC");
    if (!writeContacts(contacts) || !writeTransaction(sample, contacts)) {
        std::fprintf(stderr, "transactionshot: the sample could not be written\n");
        return 1;
    }

    window.showFromLauncher();
    window.cmdOpen_Click();
    window.activateWindow();
    QApplication::processEvents();
    window.List1().SelectItem(3, 1, 1);
    QApplication::processEvents();
    QImage picture = window.grab().toImage();

    // The Header menu below its title, and the "Transaction To:" entries beside it.
    const QMenuBar* bar = window.findChild<QMenuBar*>();
    QAction* header = window.menu(QStringLiteral("header"));
    QAction* to = window.menu(QStringLiteral("tt"));
    const QRect title = bar->actionGeometry(header);
    const QPoint headerAt = title.bottomLeft() + QPoint(0, 1);
    QMenu& headerMenu = *header->menu();
    headerMenu.setActiveAction(to);
    const QImage headerImage = pulledDown(headerMenu, window.mapToGlobal(headerAt));
    const QPoint toAt = headerAt + QPoint(headerMenu.width() - 2, headerMenu.actionGeometry(to).top() - 3);
    QMenu& toMenu = *to->menu();
    QAction* contact = window.menu(QStringLiteral("TContact"));
    toMenu.setActiveAction(contact);
    const QImage toImage = pulledDown(toMenu, window.mapToGlobal(toAt));
    const QPoint contactAt = toAt + QPoint(toMenu.width() - 2, toMenu.actionGeometry(contact).top() - 3);
    const QImage contactImage = pulledDown(*contact->menu(), window.mapToGlobal(contactAt));
    {
        QPainter p(&picture);
        p.fillRect(title, QColor(0x30, 0x8c, 0xc6));
        p.setPen(Qt::white);
        p.drawText(title, Qt::AlignCenter, header->text());
        p.drawImage(headerAt, headerImage);
        p.drawImage(toAt, toImage);
        p.drawImage(contactAt, contactImage);
    }
    contact->menu()->hide();
    toMenu.hide();
    headerMenu.hide();

    const QImage shot = windowshot::withTitleBar(picture, window.windowTitle());
    if (!shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "transactionshot: %s could not be written\n", argv[1]);
        return 1;
    }
    if (argc == 3) {
        window.menu(QStringLiteral("new"))->trigger();
        prompts.input = QStringLiteral("Note");
        window.menu(QStringLiteral("AddColumn"))->trigger();
        prompts.input.clear();
        QApplication::processEvents();
        grid::DocumentList& list = window.List1();
        const int note = list.ColumnCount();
        const QPoint at(int(list.columnLeftOnGrid(note)) + list.GetWidthColumn(note) / 2,
                        list.headerHeight() + grid::GridCore::RowHeight / 2 + list.ScrollTop());
        QWidget* target = list.childAt(at) ? list.childAt(at) : &list;
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&list, at));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("rush"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ok"));
        QApplication::processEvents();
        if (list.GetItem(1, note) != QStringLiteral("rush") || list.GetItem(2, note) != QStringLiteral("ok")) {
            std::fprintf(stderr, "transactionshot: the added column took no typing\n");
            return 1;
        }
        const QImage typed = windowshot::withTitleBar(window.grab().toImage(), window.windowTitle());
        if (!typed.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
            std::fprintf(stderr, "transactionshot: %s could not be written\n", argv[2]);
            return 1;
        }
        window.setlblChangeStatus(QStringLiteral("0")); // it goes without a question
    }
    platform::setProgramFolder(QString());
    return 0;
}
