// Shows the item groups window as a user has it after opening an item group, and saves its
// picture: windowshot <picture.png>. Everything it shows is fixed (the document, the window's
// size, the style and the fonts), so the same build gives the same picture every time. The
// window manager's title bar is drawn above the window, with the window's caption.

#include "datafiles/settingsstore.h"
#include "grid/documents/documentlist.h"
#include "grid/documents/exchangehost.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "platform/commondialog.h"
#include "platform/programfolder.h"
#include "platform/prompts.h"
#include "windows/document/windowshell.h"
#include "windows/items/frmitems.h"
#include "shotframe.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// The program around the window, reduced to what one window asks of it.
class Surroundings : public grid::ExchangeHost, public windows::WindowShell {
public:
    explicit Surroundings(datafiles::SettingsStore& store) : m_store(store) {}
    windows::DocumentWindow* shown = nullptr;

    QString ActiveList() const override { return m_store.ActiveList.value(); }
    grid::GridWindow* window(const QString& name) override
    {
        return shown && shown->kind().formName == name ? shown : nullptr;
    }
    QString lblEXCELSTATUS() const override { return m_store.lblEXCELSTATUS.value(); }
    QString PrintExcelFile() const override { return m_store.PrintExcelFile.value(); }
    void setPrintExcelFile(const QString& caption) override { m_store.PrintExcelFile = caption; }
    grid::ProgressDisplay* ProgressBar1(const QString&) override { return shown ? shown->progressDisplay() : nullptr; }
    void showStartupWindow() override {}
    void unloadFileSearchIfVisible() override {}

private:
    datafiles::SettingsStore& m_store;
};

void writeSample(const QString& path)
{
    grid::GridCore g;
    g.SetColumnHeader(1, QStringLiteral("Item Name"));
    g.LetWidthColumn(1, 220);
    g.AddColumn(0, 60, QStringLiteral("Price"));
    g.AddColumn(0, 70, QStringLiteral("Unit"));
    g.AddColumn(0, 150, QStringLiteral("Supplier"));
    const char* rows[][4] = {
        {"Oak board 20 mm", "24.50", "m", "Brankar Timber"}, {"Pine batten 40x20", "3.20", "m", "Brankar Timber"},
        {"Wood glue 1 kg", "9.90", "piece", "Lepko"},        {"Brass hinge 60 mm", "1.75", "piece", "Okov d.o.o."},
        {"Wood screws 4x40", "6.40", "box", "Okov d.o.o."},  {"Varnish, clear 0.75 l", "14.00", "can", "Lepko"},
        {"Sandpaper P120", "0.80", "sheet", "Abrazija"},     {"Drawer runner 450 mm", "12.30", "pair", "Okov d.o.o."},
        {"Beech dowel 8 mm", "0.15", "piece", "Brankar Timber"},
    };
    g.AddMoreThanOneRow(29);
    int r = 0;
    for (const auto& row : rows) {
        ++r;
        for (int c = 0; c < 4; ++c)
            g.ChangeItem(r, c + 1, QString::fromUtf8(row[c]));
    }
    g.SetBold(1, 1, true);
    g.SetColor(4, 2, 0x0000C0);
    g.SetItallic(6, 4, true);
    g.SetColor(8, 1, 0x008000);
    g.SetUnderlined(9, 1, true);
    grid::GridFile file(g);
    if (!file.SaveFileAs(path, true))
        std::fprintf(stderr, "windowshot: the sample could not be written\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: windowshot <picture.png>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    shotframe::useFixedLook();

    QTemporaryDir programFolder;
    platform::setProgramFolder(programFolder.path());
    datafiles::SettingsStore store;
    store.lblEXCELSTATUS = QStringLiteral("RADI");
    store.frmItemsLeft = QStringLiteral("0");
    store.frmItemsTop = QStringLiteral("0");
    store.frmItemsWidth = QStringLiteral("10500");
    store.frmItemsHeight = QStringLiteral("5400");
    const QString sample = programFolder.path() + QStringLiteral("/System/RAzar/Items/Workshop Supplies.QVI");
    platform::CommonDialog CommonDialog1;
    shotframe::Choosing prompts(sample);
    Surroundings around(store);
    windows::frmItems window({store, CommonDialog1, prompts, &around, &around});
    around.shown = &window;
    writeSample(sample);

    window.showFromLauncher();
    window.cmdOpen_Click();
    window.activateWindow();
    QApplication::processEvents();
    window.List1().SelectItem(3, 1, 1);
    QApplication::processEvents();

    const QImage picture = shotframe::withTitleBar(window.grab().toImage(), window.windowTitle());
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "windowshot: %s could not be written\n", argv[1]);
        return 1;
    }
    platform::setProgramFolder(QString());
    return 0;
}
