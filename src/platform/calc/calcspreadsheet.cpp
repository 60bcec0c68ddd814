// LibreOffice Calc through UNO: workbooks, buffered cell writes, printing and hand-over.

#include "platform/calc/calcspreadsheet.h"

#include "platform/calc/cellbuffer.h"
#include "platform/calc/cupsdestinations.h"
#include "platform/calc/officeprocess.h"
#include "platform/calc/sharedoffice.h"
#include "platform/calc/sheetformats.h"
#include "platform/calc/sheettext.h"
#include "platform/calc/unoarguments.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/sheet/XSheetCellRangeContainer.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/Date.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <com/sun/star/view/XPrintable.hpp>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>

using namespace css;

namespace platform::calc {

namespace {

// Above this many held cells the buffer is sent on, so memory stays bounded on big exports.
constexpr std::size_t flushThreshold = 100000;

// The store filter for a file name's extension.
const char* filterFor(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("xlsx"))
        return "Calc MS Excel 2007 XML";
    if (ext == QLatin1String("ods"))
        return "calc8";
    if (ext == QLatin1String("pdf"))
        return "calc_pdf_Export";
    return "MS Excel 97";
}

} // namespace

class CalcSpreadsheet::Impl {
public:
    explicit Impl(CalcOptions o) : options(std::move(o)) {}

    CalcOptions options;
    std::shared_ptr<OfficeProcess> office; // the program's office, while this instance uses it
    uno::Reference<lang::XComponent> document;
    uno::Reference<sheet::XSpreadsheet> sheet;
    sal_Int16 sheetIndex = 0;
    util::Date nullDate{30, 12, 1899};
    CellBuffer buffer;
    SheetFormats formats;
    bool formatsRead = true; // false: an opened workbook whose formats are read before the first write
    bool added = false;      // a new workbook of ours, not one opened from a file
    std::optional<SheetText> shown; // what the active sheet shows, until the next change
    QString error;
    QString protectedPath; // the file of a workbook opened read-only

    // Runs an office call within the call time limit; an exception becomes a failure with
    // its message.
    bool guarded(const QString& what, const std::function<bool()>& call)
    {
        error.clear();
        const KillWatch::Timing bounded = office->bound(options.callTimeoutMs);
        try {
            if (call()) {
                error.clear();
                return true;
            }
        } catch (const uno::Exception& e) {
            error = what + QStringLiteral(": ") + toQString(e.Message);
        }
        if (error.isEmpty())
            error = what + QLatin1Char('.');
        return false;
    }

    bool needStarted()
    {
        if (office)
            return true;
        error = QStringLiteral("The spreadsheet program is not running.");
        return false;
    }

    bool needDocument()
    {
        if (!needStarted())
            return false;
        if (document.is() && sheet.is())
            return true;
        error = QStringLiteral("No workbook is open in the spreadsheet program.");
        return false;
    }

    // Loads a document hidden, which is the quickest way, and makes it the one filled and
    // read. A workbook of several sheets is loaded again with a view, since only a view
    // knows which of its sheets was active when it was saved.
    bool load(const OUString& url, std::vector<beans::PropertyValue> args, bool fromFile)
    {
        // The instance's previous workbook, and whatever was written into it, goes.
        buffer.takeBlocks();
        closeDocument();
        args.push_back(property("MacroExecutionMode", uno::Any(document::MacroExecMode::NEVER_EXECUTE)));
        args.push_back(property("UpdateDocMode", uno::Any(document::UpdateDocMode::NO_UPDATE)));
        std::vector<beans::PropertyValue> hidden = args;
        hidden.push_back(property("Hidden", uno::Any(true)));
        uno::Reference<lang::XComponent> loaded = loadComponent(url, hidden);
        if (!loaded.is())
            return false;
        if (fromFile && sheetCount(loaded) > 1) {
            OfficeProcess::closeUnsaved(loaded);
            loaded = loadComponent(url, args);
            if (!loaded.is())
                return false;
        }
        document = loaded;
        // Nobody undoes in our documents; not keeping the old contents saves time and memory.
        uno::Reference<beans::XPropertySet>(document, uno::UNO_QUERY_THROW)
            ->setPropertyValue(OUString("IsUndoEnabled"), uno::Any(false));
        shown.reset();
        sheet = activeSheet();
        sheetIndex = uno::Reference<sheet::XCellRangeAddressable>(sheet, uno::UNO_QUERY_THROW)->getRangeAddress().Sheet;
        readNullDate();
        formats.reset(document);
        formatsRead = !fromFile;
        added = !fromFile;
        return sheet.is();
    }

    uno::Reference<lang::XComponent> loadComponent(const OUString& url, const std::vector<beans::PropertyValue>& args)
    {
        const uno::Reference<frame::XComponentLoader> loader(office->desktop(), uno::UNO_QUERY_THROW);
        const uno::Reference<lang::XComponent> loaded =
            loader->loadComponentFromURL(url, OUString("_blank"), 0, properties(args));
        if (uno::Reference<sheet::XSpreadsheetDocument>(loaded, uno::UNO_QUERY).is())
            return loaded;
        OfficeProcess::closeUnsaved(loaded);
        error = QStringLiteral("The file is not a workbook");
        return nullptr;
    }

    static sal_Int32 sheetCount(const uno::Reference<lang::XComponent>& loaded)
    {
        const uno::Reference<sheet::XSpreadsheetDocument> spreadsheet(loaded, uno::UNO_QUERY_THROW);
        return uno::Reference<container::XIndexAccess>(spreadsheet->getSheets(), uno::UNO_QUERY_THROW)->getCount();
    }

    // The sheet that was active when the workbook was saved (a workbook loaded with a view
    // opens on it); the only sheet of one loaded hidden.
    uno::Reference<sheet::XSpreadsheet> activeSheet()
    {
        const uno::Reference<frame::XModel> model(document, uno::UNO_QUERY_THROW);
        const uno::Reference<sheet::XSpreadsheetView> view(model->getCurrentController(), uno::UNO_QUERY);
        if (view.is())
            return view->getActiveSheet();
        const uno::Reference<sheet::XSpreadsheetDocument> spreadsheet(document, uno::UNO_QUERY_THROW);
        const uno::Reference<container::XIndexAccess> sheets(spreadsheet->getSheets(), uno::UNO_QUERY_THROW);
        return uno::Reference<sheet::XSpreadsheet>(sheets->getByIndex(0), uno::UNO_QUERY);
    }

    void readNullDate()
    {
        nullDate = util::Date{30, 12, 1899};
        const uno::Reference<util::XNumberFormatsSupplier> supplier(document, uno::UNO_QUERY);
        if (supplier.is())
            supplier->getNumberFormatSettings()->getPropertyValue(OUString("NullDate")) >>= nullDate;
    }

    double dateSerial(const QDateTime& value) const
    {
        const QDate origin(nullDate.Year, nullDate.Month, nullDate.Day);
        return double(origin.daysTo(value.date())) + value.time().msecsSinceStartOfDay() / 86400000.0;
    }

    // The 1-based column and row of an A1 address; false with the error set when it is none.
    bool cellPosition(const QString& address, int& column, int& row)
    {
        if (parseCellAddress(address, column, row))
            return true;
        error = QStringLiteral("\"%1\" is not a cell address.").arg(address);
        return false;
    }

    bool put(const QString& address, CellBuffer::Value value)
    {
        int column = 0;
        int row = 0;
        if (!needDocument() || !cellPosition(address, column, row))
            return false;
        buffer.put(row, column, std::move(value));
        shown.reset();
        error.clear();
        return buffer.size() < flushThreshold || flush();
    }

    // Sends every held write to the sheet, block by block.
    bool flush()
    {
        if (buffer.empty())
            return true;
        const std::vector<CellBuffer::Block> blocks = buffer.takeBlocks();
        if (!document.is() || !sheet.is())
            return true;
        return guarded(QStringLiteral("Cells could not be written"), [&] {
            if (!formatsRead) {
                formats.read(sheet);
                formatsRead = true;
            }
            const RowHeightsOnce heights(*this, blocks);
            for (const CellBuffer::Block& block : blocks)
                writeBlock(block);
            return true;
        });
    }

    // The office fits the rows' heights to their cells at every change, so for a block once
    // when its values go in and once more when their formats do. In a new workbook of ours,
    // whose rows have no heights of their own, they are fitted once, after the last block of
    // a flush. A workbook opened from a file keeps the office's way, which leaves the heights
    // its rows were given alone.
    class RowHeightsOnce {
    public:
        RowHeightsOnce(Impl& impl, const std::vector<CellBuffer::Block>& blocks) : impl_(impl)
        {
            if (!impl.added || blocks.empty())
                return;
            for (const CellBuffer::Block& b : blocks) {
                top_ = top_ == 0 ? b.firstRow : std::min(top_, b.firstRow);
                bottom_ = std::max(bottom_, b.firstRow + b.rows - 1);
            }
            document_.set(impl.document, uno::UNO_QUERY_THROW);
            document_->setPropertyValue(OUString("IsAdjustHeightEnabled"), uno::Any(false));
        }

        ~RowHeightsOnce()
        {
            if (!document_.is())
                return;
            try {
                document_->setPropertyValue(OUString("IsAdjustHeightEnabled"), uno::Any(true));
                const uno::Reference<table::XColumnRowRange> rows(
                    impl_.sheet->getCellRangeByPosition(0, top_ - 1, 0, bottom_ - 1), uno::UNO_QUERY_THROW);
                uno::Reference<beans::XPropertySet>(rows->getRows(), uno::UNO_QUERY_THROW)
                    ->setPropertyValue(OUString("OptimalHeight"), uno::Any(true));
            } catch (const uno::Exception&) {
                // the write itself failed, or the office went: the call says so
            }
        }

        RowHeightsOnce(const RowHeightsOnce&) = delete;
        RowHeightsOnce& operator=(const RowHeightsOnce&) = delete;

    private:
        Impl& impl_;
        uno::Reference<beans::XPropertySet> document_;
        int top_ = 0;
        int bottom_ = 0;
    };

    // The cells of one block that need a number format of ours, by format: runs down each
    // column, so that a column of prices is one range however long it is.
    class FormatRuns {
    public:
        FormatRuns(const CellBuffer::Block& block, sal_Int16 sheet)
            : block_(block), sheet_(sheet), open_(std::size_t(block.columns))
        {
        }

        void add(int r, int c, sal_Int32 key)
        {
            Run& run = open_[std::size_t(c)];
            if (run.rows > 0 && run.key == key && run.top + run.rows == r) {
                ++run.rows;
                return;
            }
            close(c);
            run = Run{key, r, 1};
        }

        std::map<sal_Int32, std::vector<table::CellRangeAddress>> take()
        {
            for (int c = 0; c < block_.columns; ++c)
                close(c);
            return std::move(ranges_);
        }

    private:
        struct Run {
            sal_Int32 key = 0;
            int top = 0;
            int rows = 0;
        };

        void close(int c)
        {
            Run& run = open_[std::size_t(c)];
            if (run.rows == 0)
                return;
            const sal_Int32 column = block_.firstColumn - 1 + c;
            const sal_Int32 top = block_.firstRow - 1 + run.top;
            ranges_[run.key].push_back(table::CellRangeAddress(sheet_, column, top, column, top + run.rows - 1));
            run.rows = 0;
        }

        const CellBuffer::Block& block_;
        sal_Int16 sheet_;
        std::vector<Run> open_;
        std::map<sal_Int32, std::vector<table::CellRangeAddress>> ranges_;
    };

    // One block of cells in one call, then the number formats its values ask for, one call
    // per format. A text goes in as text, never read as a formula or a number. A number typed
    // as text goes in as a number, unless its cell is a text cell, and shows its decimals
    // where the cell has no number format of its own. A date keeps a date format its cell
    // has, and otherwise shows as the program writes dates.
    void writeBlock(const CellBuffer::Block& block)
    {
        FormatRuns runs(block, sheetIndex);
        uno::Sequence<uno::Sequence<uno::Any>> rows(block.rows);
        uno::Sequence<uno::Any>* rowData = rows.getArray();
        std::size_t k = 0;
        for (int r = 0; r < block.rows; ++r) {
            uno::Sequence<uno::Any> cells(block.columns);
            uno::Any* cellData = cells.getArray();
            for (int c = 0; c < block.columns; ++c, ++k) {
                const CellBuffer::Value& v = block.values[k];
                switch (v.kind) {
                case CellBuffer::Value::Kind::Text:
                    cellData[c] <<= toOUString(v.text);
                    break;
                case CellBuffer::Value::Kind::TypedNumber: {
                    const SheetFormats::Cell cell = formats.at(block.firstRow + r, block.firstColumn + c);
                    if (cell == SheetFormats::Cell::Text) {
                        cellData[c] <<= toOUString(v.text);
                        break;
                    }
                    cellData[c] <<= v.number;
                    if (v.decimals > 0 && cell == SheetFormats::Cell::Standard)
                        runs.add(r, c, formats.decimalsKey(v.decimals));
                    break;
                }
                case CellBuffer::Value::Kind::Number:
                    cellData[c] <<= v.number;
                    break;
                case CellBuffer::Value::Kind::Date:
                    cellData[c] <<= v.number;
                    if (formats.at(block.firstRow + r, block.firstColumn + c) != SheetFormats::Cell::Date)
                        runs.add(r, c, formats.dateKey());
                    break;
                }
            }
            rowData[r] = cells;
        }
        const uno::Reference<table::XCellRange> range = sheet->getCellRangeByPosition(
            block.firstColumn - 1, block.firstRow - 1, block.firstColumn + block.columns - 2,
            block.firstRow + block.rows - 2);
        uno::Reference<sheet::XCellRangeData>(range, uno::UNO_QUERY_THROW)->setDataArray(rows);
        for (const auto& [key, addresses] : runs.take())
            setFormat(addresses, key);
    }

    void setFormat(const std::vector<table::CellRangeAddress>& addresses, sal_Int32 key)
    {
        const uno::Reference<sheet::XSheetCellRangeContainer> ranges(
            uno::Reference<lang::XMultiServiceFactory>(document, uno::UNO_QUERY_THROW)
                ->createInstance(OUString("com.sun.star.sheet.SheetCellRanges")),
            uno::UNO_QUERY_THROW);
        ranges->addRangeAddresses(
            uno::Sequence<table::CellRangeAddress>(addresses.data(), sal_Int32(addresses.size())), false);
        uno::Reference<beans::XPropertySet>(ranges, uno::UNO_QUERY_THROW)
            ->setPropertyValue(OUString("NumberFormat"), uno::Any(key));
    }

    // The texts the active sheet shows, read at once through its CSV form after the last
    // change; null where that fails, and cells are then read one by one.
    const SheetText* shownText()
    {
        if (shown)
            return &*shown;
        // The office names the file of one sheet after the sheet: give it a folder alone.
        QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/quorvane-sheet-XXXXXX"));
        if (!folder.isValid())
            return nullptr;
        try {
            const uno::Reference<sheet::XCellRangeAddressable> addressable(sheet, uno::UNO_QUERY_THROW);
            // Comma, double quote, UTF-8, from row 1, standard cells, system language, no
            // quoting rules for numbers, contents as shown, no formulas, spaces kept, the
            // active sheet by number.
            const QString options = QStringLiteral("44,34,76,1,,0,false,true,true,false,false,%1")
                                        .arg(addressable->getRangeAddress().Sheet + 1);
            uno::Reference<frame::XStorable>(document, uno::UNO_QUERY_THROW)
                ->storeToURL(fileUrl(folder.filePath(QStringLiteral("sheet.csv"))),
                             properties({property("FilterName", uno::Any(OUString("Text - txt - csv (StarCalc)"))),
                                         property("FilterOptions", uno::Any(toOUString(options))),
                                         property("Overwrite", uno::Any(true))}));
        } catch (const uno::Exception&) {
            return nullptr;
        }
        const QStringList written = QDir(folder.path()).entryList({QStringLiteral("sheet*.csv")}, QDir::Files);
        if (written.size() != 1)
            return nullptr;
        QFile csv(folder.filePath(written.front()));
        if (!csv.open(QIODevice::ReadOnly))
            return nullptr;
        shown = SheetText::fromCsv(csv.readAll());
        return &*shown;
    }

    // Where the sheet's CSV form cannot be had: only the cells that hold anything, within the
    // area the sheet uses, are read one by one, and a column is done at its first value.
    std::vector<int> filledColumnsByCell(int firstColumn, int lastRow)
    {
        const uno::Reference<sheet::XUsedAreaCursor> used(sheet->createCursor(), uno::UNO_QUERY_THROW);
        used->gotoEndOfUsedArea(false);
        const table::CellRangeAddress end =
            uno::Reference<sheet::XCellRangeAddressable>(used, uno::UNO_QUERY_THROW)->getRangeAddress();
        if (end.EndColumn < firstColumn - 1 || lastRow < 1)
            return {};
        const uno::Reference<sheet::XCellRangesQuery> area(
            sheet->getCellRangeByPosition(firstColumn - 1, 0, end.EndColumn, std::min(lastRow, end.EndRow + 1) - 1),
            uno::UNO_QUERY_THROW);
        const auto content = sal_Int16(sheet::CellFlags::VALUE | sheet::CellFlags::DATETIME
                                       | sheet::CellFlags::STRING | sheet::CellFlags::FORMULA);
        std::set<int> filled;
        for (const table::CellRangeAddress& range : area->queryContentCells(content)->getRangeAddresses())
            for (sal_Int32 c = range.StartColumn; c <= range.EndColumn; ++c)
                for (sal_Int32 r = range.StartRow; r <= range.EndRow && !filled.contains(int(c) + 1); ++r)
                    if (!uno::Reference<text::XText>(sheet->getCellByPosition(c, r), uno::UNO_QUERY_THROW)
                             ->getString()
                             .isEmpty())
                        filled.insert(int(c) + 1);
        return {filled.begin(), filled.end()};
    }

    bool store(const QString& path)
    {
        if (!flush())
            return false;
        const uno::Reference<frame::XStorable> storable(document, uno::UNO_QUERY_THROW);
        storable->storeToURL(fileUrl(path), properties({property("FilterName", uno::Any(OUString::createFromAscii(filterFor(path)))),
                                                        property("Overwrite", uno::Any(true))}));
        return true;
    }

    bool print(int copies, bool collate)
    {
        if (!flush())
            return false;
        const uno::Reference<view::XPrintable> printable(document, uno::UNO_QUERY_THROW);
        // An office without a printer prints nothing and reports nothing: ask first.
        OUString printer;
        for (const beans::PropertyValue& p : printable->getPrinter())
            if (p.Name == "Name")
                p.Value >>= printer;
        // Without any print queue the office reports a stand-in of its own ("Generic
        // Printer") that prints nowhere: only a queue the print service knows will do.
        const std::optional<QStringList> queues = CupsDestinations::list();
        if (printer.isEmpty() || (queues && !queues->contains(toQString(printer)))) {
            error = QStringLiteral("No printer is set up on this computer, so nothing was printed.");
            return false;
        }
        printable->print(properties({property("CopyCount", uno::Any(sal_Int16(copies))),
                                     property("Collate", uno::Any(collate)),
                                     property("Wait", uno::Any(true))}));
        return true;
    }

    // Hands the workbook to a normal, visible office as a new untitled document (loaded
    // from a copy as from a template), marked changed so that closing it asks to save.
    bool handOver()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            error = QStringLiteral("There is no display to show the spreadsheet program on.");
            return false;
        }
        QTemporaryFile copy(QDir::tempPath() + QStringLiteral("/quorvane-export-XXXXXX.xls"));
        if (!copy.open()) {
            error = QStringLiteral("The workbook could not be written to %1: %2").arg(QDir::tempPath(), copy.errorString());
            return false;
        }
        copy.close();
        if (!store(copy.fileName()))
            return false;
        OfficeProcess visible;
        OfficeProcess::Launch launch;
        launch.program = options.officeProgram;
        launch.headless = false;
        launch.owned = false;
        launch.profileDir = options.showProfileDir;
        launch.timeoutMs = options.startTimeoutMs;
        if (!visible.start(launch, error))
            return false;
        if (!openAsNew(visible, copy.fileName()))
            return false; // the office that was started for it ends with it
        visible.release(); // the office is the user's now
        return true;
    }

    bool openAsNew(OfficeProcess& visible, const QString& file)
    {
        const KillWatch::Timing bounded = visible.bound(options.callTimeoutMs);
        const uno::Reference<frame::XComponentLoader> loader(visible.desktop(), uno::UNO_QUERY_THROW);
        const uno::Reference<lang::XComponent> shown = loader->loadComponentFromURL(
            fileUrl(file), OUString("_blank"), 0,
            properties({property("AsTemplate", uno::Any(true)),
                        property("MacroExecutionMode", uno::Any(document::MacroExecMode::NEVER_EXECUTE))}));
        const uno::Reference<util::XModifiable> modifiable(shown, uno::UNO_QUERY);
        if (!modifiable.is()) {
            error = QStringLiteral("The spreadsheet program did not open the workbook");
            return false;
        }
        modifiable->setModified(true);
        return true;
    }

    // Closes the instance's workbook unsaved; the office stays for the next command. An
    // office that does not answer within the quit limit is killed.
    void closeDocument()
    {
        shown.reset();
        sheet.clear();
        const uno::Reference<lang::XComponent> closing = document;
        document.clear();
        if (!closing.is() || !office)
            return;
        try {
            const KillWatch::Timing bounded = office->bound(options.quitTimeoutMs);
            OfficeProcess::closeUnsaved(closing);
        } catch (const uno::Exception&) {
            // gone already; the office is started again by the next command
        }
    }

    void close()
    {
        protectedPath.clear();
        buffer.takeBlocks();
        closeDocument();
        office = nullptr;
    }
};

CalcSpreadsheet::CalcSpreadsheet(CalcOptions options) : d(std::make_unique<Impl>(std::move(options))) {}

CalcSpreadsheet::~CalcSpreadsheet()
{
    quit();
}

bool CalcSpreadsheet::start()
{
    if (d->office)
        return true;
    d->error.clear();
    d->office = SharedOffice::running(d->options, d->error);
    return d->office != nullptr;
}

void CalcSpreadsheet::setDisplayAlerts(bool)
{
    // The office runs headless and never asks while hidden; the shown document asks about
    // saving as the office normally does, so nothing the user made is lost silently.
}

bool CalcSpreadsheet::setVisible(bool visible)
{
    return visible ? show() : true;
}

bool CalcSpreadsheet::addWorkbook()
{
    if (!d->needStarted())
        return false;
    d->protectedPath.clear();
    return d->guarded(QStringLiteral("A new workbook could not be made"),
                      [&] { return d->load(OUString("private:factory/scalc"), {}, false); });
}

bool CalcSpreadsheet::openWorkbook(const QString& path, bool readOnly)
{
    if (!d->needStarted())
        return false;
    if (!QFileInfo(path).isFile()) {
        d->error = QStringLiteral("The workbook %1 was not found.").arg(path);
        return false;
    }
    // The office refuses every change to a document it opened read-only, silently. So a
    // read-only workbook is opened as from a template: an untitled copy that can be filled
    // but is tied to no file, so nothing can be written back over it.
    const bool opened = d->guarded(QStringLiteral("The workbook %1 could not be opened").arg(path), [&] {
        return d->load(fileUrl(path), {property(readOnly ? "AsTemplate" : "ReadOnly", uno::Any(readOnly))}, true);
    });
    d->protectedPath = opened && readOnly ? QFileInfo(path).canonicalFilePath() : QString();
    return opened;
}

namespace {

CellBuffer::Value typed(QString text)
{
    CellBuffer::Value value;
    if (readsAsNumber(text, value.number, value.decimals))
        value.kind = CellBuffer::Value::Kind::TypedNumber;
    value.text = std::move(text);
    return value;
}

} // namespace

bool CalcSpreadsheet::writeCell(const QString& address, const QString& text)
{
    return d->put(address, typed(text));
}

bool CalcSpreadsheet::writeRow(int row, int firstColumn, std::span<const QString> texts)
{
    if (!d->needDocument())
        return false;
    if (row < 1 || firstColumn < 1 || row > maxSheetRow || firstColumn + int(texts.size()) - 1 > maxSheetColumn) {
        d->error = QStringLiteral("Row %1 from column %2 is outside the sheet.").arg(row).arg(firstColumn);
        return false;
    }
    int column = firstColumn;
    for (const QString& text : texts)
        d->buffer.put(row, column++, typed(text));
    d->shown.reset();
    d->error.clear();
    return d->buffer.size() < flushThreshold || d->flush();
}

bool CalcSpreadsheet::writeNumber(const QString& address, double number)
{
    CellBuffer::Value value;
    value.kind = CellBuffer::Value::Kind::Number;
    value.number = number;
    return d->put(address, std::move(value));
}

bool CalcSpreadsheet::writeDate(const QString& address, const QDateTime& when)
{
    CellBuffer::Value value;
    value.kind = CellBuffer::Value::Kind::Date;
    value.number = d->dateSerial(when);
    return d->put(address, std::move(value));
}

QString CalcSpreadsheet::readCell(const QString& address)
{
    int column = 0;
    int row = 0;
    if (!d->needDocument() || !d->cellPosition(address, column, row))
        return QString();
    QString text;
    d->guarded(QStringLiteral("The cell %1 could not be read").arg(address), [&] {
        if (!d->flush())
            return false;
        if (const SheetText* shown = d->shownText()) {
            text = shown->at(row, column);
            return true;
        }
        const uno::Reference<text::XText> cell(d->sheet->getCellByPosition(column - 1, row - 1), uno::UNO_QUERY_THROW);
        text = toQString(cell->getString());
        return true;
    });
    return text;
}

std::vector<int> CalcSpreadsheet::filledColumns(int firstColumn, int lastRow)
{
    if (!d->needDocument())
        return {};
    firstColumn = std::max(firstColumn, 1);
    std::vector<int> filled;
    d->guarded(QStringLiteral("The columns of the sheet could not be read"), [&] {
        if (!d->flush())
            return false;
        if (const SheetText* shown = d->shownText())
            filled = shown->filledColumns(firstColumn, lastRow);
        else
            filled = d->filledColumnsByCell(firstColumn, lastRow);
        return true;
    });
    return filled;
}

bool CalcSpreadsheet::printActiveSheet(int copies, bool collate)
{
    if (!d->needDocument())
        return false;
    if (copies < 1) {
        d->error = QStringLiteral("Nothing to print: the number of copies is below 1.");
        return false;
    }
    return d->guarded(QStringLiteral("The sheet could not be printed"), [&] { return d->print(copies, collate); });
}

bool CalcSpreadsheet::show()
{
    if (!d->needDocument())
        return false;
    const bool shown = d->guarded(QStringLiteral("The workbook could not be shown"), [&] { return d->handOver(); });
    const QString error = d->error;
    d->close();
    d->error = error;
    return shown;
}

void CalcSpreadsheet::quit()
{
    d->close();
}

QString CalcSpreadsheet::lastError() const
{
    return d->error;
}

bool CalcSpreadsheet::flush()
{
    return d->needDocument() && d->flush();
}

bool CalcSpreadsheet::saveAs(const QString& path)
{
    if (!d->needDocument())
        return false;
    if (!d->protectedPath.isEmpty() && QFileInfo(path).canonicalFilePath() == d->protectedPath) {
        d->error = QStringLiteral("The workbook %1 was opened read-only and is not written.").arg(path);
        return false;
    }
    return d->guarded(QStringLiteral("The workbook could not be saved as %1").arg(path), [&] { return d->store(path); });
}

} // namespace platform::calc
