// Shows a document window as a user has it after opening a document of its kind, and saves
// its picture: windowshot [items|items-in-use|contacts] <picture.png> (items when no kind is
// named): the item groups window with an item group, the same after the user has opened the
// Find frame, found a word and made the found cell bold with the B button, or the contact
// companies window with a company and its contacts' balances. Everything it shows is fixed (the document, the window's size, the
// style and the fonts), so the same build gives the same picture every time. The window
// manager's title bar is drawn above the window, with the window's caption.

#include "shotsupport.h"

#include "datafiles/settingsstore.h"
#include "grid/documents/documentlist.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "platform/commondialog.h"
#include "platform/programfolder.h"
#include "windows/contacts/frmcontacts.h"
#include "windows/items/frmitems.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

namespace {

void writeDocument(const QString& path, const QList<std::pair<QString, int>>& columns,
                   const QList<QStringList>& rows, const std::function<void(grid::GridCore&)>& format)
{
    grid::GridCore g;
    g.SetColumnHeader(1, columns[0].first);
    g.LetWidthColumn(1, columns[0].second);
    for (qsizetype c = 1; c < columns.size(); ++c)
        g.AddColumn(0, columns[c].second, columns[c].first);
    g.AddMoreThanOneRow(29);
    for (qsizetype r = 0; r < rows.size(); ++r)
        for (qsizetype c = 0; c < rows[r].size(); ++c)
            g.ChangeItem(int(r + 1), int(c + 1), rows[r][c]);
    format(g);
    grid::GridFile file(g);
    if (!file.SaveFileAs(path, true))
        std::fprintf(stderr, "windowshot: the sample could not be written\n");
}

void writeItemSample(const QString& path)
{
    writeDocument(path, {{"Item Name", 220}, {"Price", 60}, {"Unit", 70}, {"Supplier", 150}},
                  {
                      {"Oak board 20 mm", "24.50", "m", "Brankar Timber"},
                      {"Pine batten 40x20", "3.20", "m", "Brankar Timber"},
                      {"Wood glue 1 kg", "9.90", "piece", "Lepko"},
                      {"Brass hinge 60 mm", "1.75", "piece", "Okov d.o.o."},
                      {"Wood screws 4x40", "6.40", "box", "Okov d.o.o."},
                      {"Varnish, clear 0.75 l", "14.00", "can", "Lepko"},
                      {"Sandpaper P120", "0.80", "sheet", "Abrazija"},
                      {"Drawer runner 450 mm", "12.30", "pair", "Okov d.o.o."},
                      {"Beech dowel 8 mm", "0.15", "piece", "Brankar Timber"},
                  },
                  [](grid::GridCore& g) {
                      g.SetBold(1, 1, true);
                      g.SetColor(4, 2, 0x0000C0);
                      g.SetItallic(6, 4, true);
                      g.SetColor(8, 1, 0x008000);
                      g.SetUnderlined(9, 1, true);
                  });
}

// A company of customers and suppliers with their running balances, those in debt in red.
void writeContactSample(const QString& path)
{
    writeDocument(path, {{"Contact Name", 220}, {"Balance", 60}, {"City", 110}, {"Phone", 110}},
                  {
                      {"Adria Tours", "1250", "Koper", "05 612 44 10"},
                      {"Brankar Timber", "-486.5", "Kranj", "04 233 18 02"},
                      {"Lepko", "0", "Celje", "03 425 70 00"},
                      {"Okov d.o.o.", "312.75", "Maribor", "02 250 61 19"},
                      {"Abrazija", "-75", "Novo mesto", "07 332 90 45"},
                      {"Sever Transport", "2040", "Murska Sobota", "02 521 33 80"},
                      {"Vila Lipa", "98.2", "Bled", "04 574 12 26"},
                  },
                  [](grid::GridCore& g) {
                      g.SetBold(1, 1, true);
                      g.SetColor(2, 2, 0x0000C0);
                      g.SetColor(5, 2, 0x0000C0);
                      g.SetItallic(3, 3, true);
                  });
}

} // namespace

int main(int argc, char** argv)
{
    const bool named = argc == 3;
    const char* kind = named ? argv[1] : "items";
    const bool contacts = std::strcmp(kind, "contacts") == 0;
    const bool inUse = std::strcmp(kind, "items-in-use") == 0;
    if ((argc != 2 && argc != 3) || (!contacts && !inUse && std::strcmp(kind, "items") != 0)) {
        std::fprintf(stderr, "usage: windowshot [items|items-in-use|contacts] <picture.png>\n");
        return 2;
    }
    const QString picturePath = QString::fromLocal8Bit(argv[argc - 1]);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    windowshot::fixLook();

    QTemporaryDir programFolder;
    platform::setProgramFolder(programFolder.path());
    datafiles::SettingsStore store;
    store.lblEXCELSTATUS = QStringLiteral("RADI");
    const QString folder = programFolder.path() + QStringLiteral("/System/RAzar/");
    const QString sample = contacts ? folder + QStringLiteral("Contacts/Clients and Suppliers.QVC")
                                    : folder + QStringLiteral("Items/Workshop Supplies.QVI");
    const windows::PlacementFields& placement =
        (contacts ? windows::frmContacts::description() : windows::frmItems::description()).placement;
    store.*placement.Left = QStringLiteral("0");
    store.*placement.Top = QStringLiteral("0");
    store.*placement.Width = QStringLiteral("10500");
    store.*placement.Height = QStringLiteral("5400");
    platform::CommonDialog dialog;
    windowshot::Choosing prompts(sample);
    windowshot::Surroundings around(store);
    const windows::DocumentContext context{store, dialog, prompts, &around, &around};
    std::unique_ptr<windows::DocumentWindow> window;
    if (contacts) {
        window = std::make_unique<windows::frmContacts>(context);
        writeContactSample(sample);
    } else {
        window = std::make_unique<windows::frmItems>(context);
        writeItemSample(sample);
    }
    around.shown = window.get();

    window->showFromLauncher();
    window->cmdOpen_Click();
    window->activateWindow();
    QApplication::processEvents();
    window->List1().SelectItem(contacts ? 2 : 3, 1, 1);
    QApplication::processEvents();
    if (inUse) {
        window->cmdFind_Click();
        window->Find()->findChild<QLineEdit*>(QStringLiteral("txttoFind"))->setText(QStringLiteral("screw"));
        window->button(QStringLiteral("FindInList"))->click();
        window->button(QStringLiteral("cmdBold"))->click();
        QApplication::processEvents();
    }

    const QImage picture = windowshot::withTitleBar(window->grab().toImage(), window->windowTitle());
    if (!picture.save(picturePath, "PNG")) {
        std::fprintf(stderr, "windowshot: %s could not be written\n", argv[argc - 1]);
        return 1;
    }
    window.reset();
    platform::setProgramFolder(QString());
    return 0;
}
