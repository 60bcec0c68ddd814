// Runs the program in a program folder of its own, on the display it is started on, with the
// application's default font and style and LibreOffice Calc as its spreadsheet program, and
// saves two of its messages, as the program shows them, into the folder given:
// incomplete-file.png, the notice of the item groups window opening an item group whose file
// was cut short; import-columns-left-out.png, the question of an import from a sheet of 36
// columns, four more than a document holds. Every message is answered with its default button.
// Usage: messageshot <folder>

#include "datafiles/datafoldertree.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "grid/documents/gridfile.h"
#include "grid/documents/listfilescrambler.h"
#include "grid/gridcore.h"
#include "platform/calc/calc.h"
#include "platform/calc/calcspreadsheet.h"
#include "platform/commondialog.h"
#include "platform/programfolder.h"
#include "platform/qtprompts.h"
#include "platform/spreadsheet.h"
#include "shell/formnames.h"
#include "shell/program.h"
#include "shell/programwindow.h"
#include "windows/document/documentwindow.h"

#include "runningprogram.h"
#include "shotsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

// A fixed place, so that the paths the messages name are the same on every run.
const QString ProgramFolder = QDir::tempPath() + QStringLiteral("/Quorvane");

// The user chooses the file given in the open dialog and types the row count asked for; each
// message is shown as the program shows it, its picture taken when its text starts as asked,
// and answered with its default button.
class Shooting : public platform::Prompts {
public:
    QString chosenFile;
    QString typedRows = QStringLiteral("3");
    QString shotStart; // the start of the text of the message to take
    QString shotPath;
    bool shot = false;

    platform::Answer MsgBox(const QString& text, int style, const QString& title) override
    {
        const bool take = !shotStart.isEmpty() && text.startsWith(shotStart);
        QTimer::singleShot(0, [this, take] { answerWhenShown(take); });
        return m_qt.MsgBox(text, style, title);
    }
    QString InputBox(const QString&, const QString&, const QString&) override { return typedRows; }
    bool ShowOpen(platform::CommonDialog& dialog) override
    {
        dialog.FileName = chosenFile;
        dialog.FileTitle = QFileInfo(chosenFile).fileName();
        return true;
    }
    bool ShowSave(platform::CommonDialog&) override { return false; }
    bool ShowColor(platform::CommonDialog&) override { return false; }

private:
    void answerWhenShown(bool take)
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            QTimer::singleShot(20, [this, take] { answerWhenShown(take); });
            return;
        }
        if (take) {
            windowshot::settle();
            shot = windowshot::withTitleBar(box->grab().toImage(), box->windowTitle()).save(shotPath, "PNG");
        }
        box->defaultButton()->click();
    }

    platform::QtPrompts m_qt;
};

// An item group of five items saved whole, then cut inside its fourth item, as a copy that
// stopped part way leaves it.
bool writeCutItemGroup(const QString& path)
{
    grid::GridCore core;
    core.SetColumnHeader(1, QStringLiteral("Item Name"));
    core.AddColumn(0, 60, QStringLiteral("Price"));
    const QStringList items = {QStringLiteral("Oak board 20 mm"), QStringLiteral("Brass hinge"),
                               QStringLiteral("Wood screw 4x40"), QStringLiteral("Beech dowel"),
                               QStringLiteral("Wood glue 1 kg")};
    core.AddMoreThanOneRow(int(items.size()));
    for (int r = 0; r < items.size(); ++r) {
        core.ChangeItem(r + 1, 1, items[r]);
        core.ChangeItem(r + 1, 2, QString::number((r + 1) * 3.5));
    }
    if (!grid::GridFile(core).SaveFileAs(path, true))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = grid::ListFileScrambler::applied(file.readAll());
    file.close();
    const QByteArray cut = text.left(text.indexOf("Beech") + 3);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && file.write(grid::ListFileScrambler::applied(cut)) == cut.size();
}

// A workbook whose first rows fill 36 columns.
bool writeWideWorkbook(const QString& path)
{
    platform::calc::CalcSpreadsheet calc;
    if (!calc.start() || !calc.addWorkbook())
        return false;
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 36; ++c)
            calc.writeCell(platform::columnLetters(c) + QString::number(r), QStringLiteral("R%1C%2").arg(r).arg(c));
    return calc.saveAs(path);
}

windows::DocumentWindow* itemsWindow(shell::Program& program)
{
    program.openDocumentWindow(shell::FormName::Items);
    shell::ProgramWindow* entry = program.windows().find(shell::FormName::Items);
    return entry ? &static_cast<windows::DocumentWindow&>(entry->form()) : nullptr;
}

int takeShots(const QString& out)
{
    Shooting prompts;
    platform::setPrompts(&prompts);
    shell::Program program([] {});
    program.start();
    if (!windowshot::runUntil([&] { return program.startupProbeDone(); })) {
        std::fprintf(stderr, "messageshot: the program did not start\n");
        return 1;
    }
    windows::DocumentWindow* items = itemsWindow(program);
    const QString group = ProgramFolder + QStringLiteral("/System/RAzar/Items/Joinery stock.QVI");
    const QString workbook = ProgramFolder + QStringLiteral("/Price list.xls");
    if (!items || !writeCutItemGroup(group) || !writeWideWorkbook(workbook)) {
        std::fprintf(stderr, "messageshot: the samples could not be made\n");
        return 1;
    }
    int status = 0;
    const auto take = [&](const char* name, const QString& textStart, const QString& file,
                          const std::function<void()>& command) {
        prompts.chosenFile = file;
        prompts.shotStart = textStart;
        prompts.shotPath = out + QLatin1Char('/') + QString::fromLatin1(name);
        prompts.shot = false;
        command();
        if (!prompts.shot) {
            std::fprintf(stderr, "messageshot: %s was not taken\n", name);
            status = 1;
            return;
        }
        std::printf("%s\n", qPrintable(prompts.shotPath));
    };
    take("incomplete-file.png", QStringLiteral("The file \"") + group, group, [&] { items->cmdOpen_Click(); });
    take("import-columns-left-out.png", QStringLiteral("The workbook\n"), workbook,
         [&] { items->importfromexcel_Click(); });
    program.endNow();
    platform::setPrompts(nullptr);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: messageshot <folder>\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    QDir(ProgramFolder).removeRecursively();
    QDir().mkpath(ProgramFolder);
    platform::setProgramFolder(ProgramFolder);
    platform::calc::install();

    datafiles::CreateDataFolders();
    datafiles::SettingsStore settings;
    windowshot::setSampleCompany(settings);
    const int status = datafiles::SaveSettingsFile(settings) ? takeShots(out) : 1;

    platform::calc::endOffice();
    platform::setProgramFolder(QString());
    QDir(ProgramFolder).removeRecursively();
    return status;
}
