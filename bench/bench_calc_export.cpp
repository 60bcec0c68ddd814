// Exporting a full list, 65,000 rows by 32 columns, into a new workbook of the spreadsheet
// program, beside the office loading the same cells from a CSV file in a running office: the
// ratio says what our export costs on top of the office taking the cells in. Also the sheet
// filled through cell addresses against whole rows, and the store of the .xls file that
// showing hands over.

#include "besidebaseline.h"
#include "quietexchangehost.h"

#include "grid/documents/excelexchange.h"
#include "grid/gridcore.h"
#include "platform/calc/calcoptions.h"
#include "platform/calc/calcspreadsheet.h"
#include "platform/calc/officeprocess.h"
#include "platform/calc/unoarguments.h"

#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QFile>
#include <QTemporaryDir>
#include <vector>

namespace {

using namespace css;
using rtl::OUString;

constexpr int rows = 65000;
constexpr int columns = 32;

// The text of a cell: prices with two decimals, whole quantities and item texts.
QString cellText(int r, int c)
{
    if (c % 4 == 2)
        return QStringLiteral("%1.%2").arg(r % 900 + 1).arg((r * 7 + c) % 100, 2, 10, QLatin1Char('0'));
    if (c % 4 == 3)
        return QString::number(r % 50 + 1);
    return QStringLiteral("Item text %1/%2").arg(r).arg(c);
}

// Calc as the export drives it, except that showing ends with the cells in the sheet (the
// benchmark has no display to hand the workbook over on).
class FilledWhenShown final : public platform::Spreadsheet {
public:
    bool start() override { return calc_.start(); }
    void setDisplayAlerts(bool on) override { calc_.setDisplayAlerts(on); }
    bool setVisible(bool visible) override { return visible ? show() : calc_.setVisible(false); }
    bool addWorkbook() override { return calc_.addWorkbook(); }
    bool openWorkbook(const QString& path, bool readOnly) override { return calc_.openWorkbook(path, readOnly); }
    bool writeCell(const QString& a, const QString& t) override { return calc_.writeCell(a, t); }
    bool writeRow(int row, int column, std::span<const QString> texts) override { return calc_.writeRow(row, column, texts); }
    bool writeNumber(const QString& a, double v) override { return calc_.writeNumber(a, v); }
    bool writeDate(const QString& a, const QDateTime& v) override { return calc_.writeDate(a, v); }
    QString readCell(const QString& a) override { return calc_.readCell(a); }
    std::vector<int> filledColumns(int first, int last) override { return calc_.filledColumns(first, last); }
    bool printActiveSheet(int copies, bool collate) override { return calc_.printActiveSheet(copies, collate); }
    bool show() override
    {
        const bool filled = calc_.flush();
        calc_.quit();
        return filled;
    }
    void quit() override { calc_.quit(); }
    QString lastError() const override { return calc_.lastError(); }

private:
    platform::calc::CalcSpreadsheet calc_;
};

struct Setup {
    QTemporaryDir dir;
    grid::GridCore grid;
    QString csv;
    Setup()
    {
        for (int c = 2; c <= columns; ++c)
            grid.AddColumn(0, 50, QString());
        grid.resetRows(rows);
        QFile file(dir.filePath(QStringLiteral("cells.csv")));
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        for (int r = 1; r <= rows; ++r) {
            QString line;
            for (int c = 1; c <= columns; ++c) {
                const QString text = cellText(r, c);
                grid.setCellText(r, c, text);
                if (c > 1)
                    line += QLatin1Char(',');
                line += text;
            }
            file.write(line.toUtf8() + '\n');
        }
        csv = file.fileName();
    }
};

Setup& setup()
{
    static Setup s;
    return s;
}

// The baseline: the office loads the cells from the CSV file and closes them again.
bool officeLoadsCsv(platform::calc::OfficeProcess& office, const QString& path)
{
    try {
        const uno::Reference<lang::XComponent> doc =
            uno::Reference<frame::XComponentLoader>(office.desktop(), uno::UNO_QUERY_THROW)
                ->loadComponentFromURL(
                    platform::calc::fileUrl(path), OUString("_blank"), 0,
                    platform::calc::properties(
                        {platform::calc::property("FilterName", uno::Any(OUString("Text - txt - csv (StarCalc)"))),
                         platform::calc::property("FilterOptions", uno::Any(OUString("44,34,76,1"))),
                         platform::calc::property("Hidden", uno::Any(true))}));
        uno::Reference<util::XCloseable>(doc, uno::UNO_QUERY_THROW)->close(true);
        return true;
    } catch (const uno::Exception&) {
        return false;
    }
}

bool weExport(grid::GridCore& grid)
{
    platform::setSpreadsheetFactory([] { return std::make_unique<FilledWhenShown>(); });
    QuietExchangeHost host;
    const bool exported = grid::ExcelExchange(grid, host).exporttoexcel();
    platform::setSpreadsheetFactory({});
    return exported;
}

void BM_ExportFullListBesideTheOfficeLoadingItsCsv(benchmark::State& state)
{
    Setup& s = setup();
    platform::calc::OfficeProcess office;
    platform::calc::OfficeProcess::Launch launch;
    launch.program = platform::calc::CalcOptions().officeProgram;
    QString error;
    if (!office.start(launch, error)) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    // The program's office runs from its first command on: that start is not the export's.
    platform::calc::CalcSpreadsheet first;
    first.start();
    BesideBaseline figures;
    for (auto _ : state) {
        if (!figures.turn(state, [&] { return officeLoadsCsv(office, s.csv); }, [&] { return weExport(s.grid); })) {
            state.SkipWithError("the export or the office's loading failed");
            break;
        }
    }
    figures.report(state);
    state.counters["cells"] = double(rows) * columns;
}

BENCHMARK(BM_ExportFullListBesideTheOfficeLoadingItsCsv)->Unit(benchmark::kMillisecond)->Iterations(9)->UseManualTime();

// The sheet filled straight through the spreadsheet interface: range(0) 0 writes every cell
// by its address, 1 whole rows without addresses; range(1) 1 also stores the .xls file that
// showing hands over.
void BM_FillNewWorkbook(benchmark::State& state)
{
    const bool byRow = state.range(0) != 0;
    const bool store = state.range(1) != 0;
    Setup& s = setup();
    std::vector<std::vector<QString>> texts(rows);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= columns; ++c)
            texts[std::size_t(r - 1)].push_back(s.grid.row(r).text(c));
    QStringList letters;
    for (int c = 1; c <= columns; ++c)
        letters << platform::columnLetters(c);
    platform::calc::CalcSpreadsheet calc;
    if (!calc.start()) {
        state.SkipWithError(calc.lastError().toUtf8().constData());
        return;
    }
    for (auto _ : state) {
        if (!calc.addWorkbook()) {
            state.SkipWithError(calc.lastError().toUtf8().constData());
            return;
        }
        for (int r = 1; r <= rows; ++r) {
            const std::vector<QString>& row = texts[std::size_t(r - 1)];
            if (byRow) {
                calc.writeRow(r, 1, row);
            } else {
                const QString number = QString::number(r);
                for (int c = 0; c < columns; ++c)
                    calc.writeCell(letters[c] + number, row[std::size_t(c)]);
            }
        }
        if (!calc.flush() || (store && !calc.saveAs(s.dir.filePath(QStringLiteral("export.xls"))))) {
            state.SkipWithError(calc.lastError().toUtf8().constData());
            return;
        }
    }
    state.counters["cells"] = benchmark::Counter(double(rows) * columns * double(state.iterations()),
                                                 benchmark::Counter::kIsRate);
    calc.quit();
}

// The office works in a process of its own: rates are per wall-clock second.
BENCHMARK(BM_FillNewWorkbook)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"rows", "store"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

} // namespace

namespace {

// Reading cells back one by one, as the import asks for them: 2,000 rows by 32 columns.
void BM_ReadCellsOneByOne(benchmark::State& state)
{
    platform::calc::CalcSpreadsheet calc;
    if (!calc.start() || !calc.addWorkbook()) {
        state.SkipWithError(calc.lastError().toUtf8().constData());
        return;
    }
    constexpr int readRows = 2000;
    QStringList addresses;
    for (int r = 1; r <= readRows; ++r)
        for (int c = 1; c <= columns; ++c) {
            addresses << platform::columnLetters(c) + QString::number(r);
            calc.writeCell(addresses.back(), QStringLiteral("text %1").arg(c));
        }
    for (auto _ : state)
        for (const QString& a : addresses)
            benchmark::DoNotOptimize(calc.readCell(a));
    state.counters["cells"] = benchmark::Counter(double(addresses.size()) * double(state.iterations()),
                                                 benchmark::Counter::kIsRate);
    calc.quit();
}

BENCHMARK(BM_ReadCellsOneByOne)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
