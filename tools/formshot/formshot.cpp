// Fills the item form the way the item groups window's "Selected Item into Excel Form" does,
// for a fixed sample item of a fixed item group, and stores the filled workbook as PDF instead
// of handing it to the user: formshot <form.pdf>. The form is our template from resources,
// put where the install puts it below a program folder of its own; the company, the item and
// the clock are fixed, so the same build gives the same form every time.

#include "datafiles/settingsstore.h"
#include "grid/gridcore.h"
#include "platform/calc/calcspreadsheet.h"
#include "platform/clock.h"
#include "platform/programfolder.h"
#include "platform/prompts.h"
#include "services/formservice.h"
#include "services/formvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <utility>

namespace {

const QString FormBelowProgram = QStringLiteral("System/RAzar/Template/Item/Item Form.xls");

// The office as the program drives it, except that the workbook it would show is stored as
// PDF: the tool runs without a display, and the PDF is the picture's source.
class StoredAsPdf final : public platform::Spreadsheet {
public:
    explicit StoredAsPdf(QString path) : m_path(std::move(path)) {}

    bool start() override { return m_calc.start(); }
    void setDisplayAlerts(bool on) override { m_calc.setDisplayAlerts(on); }
    bool setVisible(bool visible) override { return visible ? show() : m_calc.setVisible(false); }
    bool addWorkbook() override { return m_calc.addWorkbook(); }
    bool openWorkbook(const QString& path, bool readOnly) override { return m_calc.openWorkbook(path, readOnly); }
    bool writeCell(const QString& a, const QString& t) override { return m_calc.writeCell(a, t); }
    bool writeNumber(const QString& a, double v) override { return m_calc.writeNumber(a, v); }
    bool writeDate(const QString& a, const QDateTime& v) override { return m_calc.writeDate(a, v); }
    QString readCell(const QString& a) override { return m_calc.readCell(a); }
    std::vector<int> filledColumns(int first, int last) override { return m_calc.filledColumns(first, last); }
    bool printActiveSheet(int copies, bool collate) override { return m_calc.printActiveSheet(copies, collate); }
    bool show() override
    {
        const bool stored = m_calc.saveAs(m_path);
        m_calc.quit();
        return stored;
    }
    void quit() override { m_calc.quit(); }
    QString lastError() const override { return m_calc.lastError(); }

private:
    QString m_path;
    platform::calc::CalcSpreadsheet m_calc;
};

// The show command asks nothing; should it ever, the answer is OK and no file is chosen.
class Silent : public platform::Prompts {
public:
    platform::Answer MsgBox(const QString&, int, const QString&) override { return platform::Answer::OK; }
    QString InputBox(const QString&, const QString&, const QString&) override { return QString(); }
    bool ShowOpen(platform::CommonDialog&) override { return false; }
    bool ShowSave(platform::CommonDialog&) override { return false; }
    bool ShowColor(platform::CommonDialog&) override { return false; }
};

// The item group of the window pictures, its fourth item selected.
void fillSampleGroup(grid::GridCore& g)
{
    g.SetColumnHeader(1, QStringLiteral("Item Name"));
    g.AddColumn(0, 60, QStringLiteral("Price"));
    g.AddColumn(0, 70, QStringLiteral("Unit"));
    g.AddColumn(0, 150, QStringLiteral("Supplier"));
    const QStringList rows[] = {
        {"Oak board 20 mm", "24.50", "m", "Brankar Timber"},
        {"Pine batten 40x20", "3.20", "m", "Brankar Timber"},
        {"Wood glue 1 kg", "9.90", "piece", "Lepko"},
        {"Brass hinge 60 mm", "1.75", "piece", "Okov d.o.o."},
        {"Wood screws 4x40", "6.40", "box", "Okov d.o.o."},
    };
    g.AddMoreThanOneRow(int(std::size(rows)));
    for (int r = 0; r < int(std::size(rows)); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            g.ChangeItem(r + 1, c + 1, rows[r][c]);
    g.setiSelected(4);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: formshot <form.pdf>\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QString pdf = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QFile::remove(pdf);

    QTemporaryDir programFolder;
    platform::setProgramFolder(programFolder.path());
    const QString form = programFolder.filePath(FormBelowProgram);
    if (!QDir().mkpath(QFileInfo(form).absolutePath())
        || !QFile::copy(QStringLiteral(QUORVANE_SOURCE_DIR "/resources/") + FormBelowProgram, form)) {
        std::fprintf(stderr, "formshot: the item form template could not be put in place\n");
        return 1;
    }

    datafiles::SettingsStore store;
    store.lblEXCELSTATUS = QStringLiteral("RADI");
    store.CompanyName = QStringLiteral("Lipa Joinery");
    store.CompanyAddress = QStringLiteral("Gozdna ulica 12");
    store.CompanyZip = QStringLiteral("4000");
    store.CompanyCity = QStringLiteral("Kranj");
    store.CompanyPhone = QStringLiteral("04 200 10 10");
    store.CompanyFax = QStringLiteral("04 200 10 11");
    store.CompanyEMail = QStringLiteral("office@lipa-joinery.example");
    platform::pinClock(QDateTime(QDate(2026, 3, 12), QTime(10, 30)));

    Silent prompts;
    services::FormServiceInputs inputs{store, prompts};
    inputs.spreadsheets = [pdf] { return std::make_unique<StoredAsPdf>(pdf); };
    inputs.playSound = [](const QString&) {};
    services::FormService service(inputs);
    grid::GridCore group;
    fillSampleGroup(group);
    const services::FormResult result =
        service.exportItem(services::SelectedRow::fromGrid(group, QStringLiteral("Items Group [ Workshop Supplies ]")));

    platform::setProgramFolder(QString());
    if (result.status != services::FormResult::Status::Shown || !QFileInfo(pdf).isFile()) {
        const QString why = result.message ? result.message->text : QStringLiteral("no PDF was stored");
        std::fprintf(stderr, "formshot: the item form was not filled: %s\n", qPrintable(why));
        return 1;
    }
    return 0;
}
