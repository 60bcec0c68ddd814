#pragma once
// A recording stand-in for the spreadsheet program: every instance the program starts while
// a ScopedRecordingSpreadsheet is alive records its calls into one shared log, keeps its
// cells in memory and fails where the test asks it to.

#include "platform/spreadsheet.h"
#include "support/checkedlist.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace testsupport {

// What the instances share: the test's switches, the log and the results.
struct SpreadsheetLog {
    // Failures to simulate.
    bool failStart = false;
    bool failAddWorkbook = false;
    bool failOpen = false;
    bool failPrint = false;
    bool failShow = false;
    int writesBeforeFailure = -1; // -1: writes never fail
    int readsBeforeFailure = -1;  // -1: reads never fail
    bool failFilledColumns = false;

    // Workbooks that openWorkbook finds, by path, with their cells by address. A path not
    // listed here opens as an empty workbook when the file exists.
    QHash<QString, QHash<QString, QString>> workbooks;

    // Every call other than cell reads and writes, in order: "start", "alerts off",
    // "alerts on", "visible off", "add workbook", "open <path> read-only", "open <path>",
    // "print <n> collated", "print <n>", "show", "quit". A failing call is followed by
    // "failed".
    testsupport::CheckedList<QString> calls;
    // Every cell write in order, and the number of reads.
    std::vector<std::pair<QString, QString>> writes;
    int reads = 0;
    // Instances started and neither quit nor shown.
    int running = 0;
    // The active sheet's cells when it was last shown or printed, and whether alerts were
    // on when it was shown.
    QHash<QString, QString> shownCells;
    QHash<QString, QString> printedCells;
    bool alertsOnWhenShown = false;

    // The text written last into a cell, and whether it was written at all.
    bool wasWritten(const QString& address) const;
    QString written(const QString& address) const;
};

class RecordingSpreadsheet : public platform::Spreadsheet {
public:
    explicit RecordingSpreadsheet(SpreadsheetLog& log) : log_(log) {}

    bool start() override;
    void setDisplayAlerts(bool on) override;
    bool setVisible(bool visible) override;
    bool addWorkbook() override;
    bool openWorkbook(const QString& path, bool readOnly) override;
    bool writeCell(const QString& address, const QString& text) override;
    bool writeNumber(const QString& address, double value) override;
    bool writeDate(const QString& address, const QDateTime& value) override;
    QString readCell(const QString& address) override;
    std::vector<int> filledColumns(int firstColumn, int lastRow) override;
    bool printActiveSheet(int copies, bool collate) override;
    bool show() override;
    void quit() override;
    QString lastError() const override { return error_; }

private:
    bool succeed();
    bool fail(const QString& why);
    bool needWorkbook();

    SpreadsheetLog& log_;
    bool started_ = false;
    bool alerts_ = true;
    bool hasWorkbook_ = false;
    QHash<QString, QString> cells_;
    QString error_;
};

// Installs the recording instances for the life of a test scope; the previous factory is
// the default one afterwards.
class ScopedRecordingSpreadsheet {
public:
    ScopedRecordingSpreadsheet();
    ~ScopedRecordingSpreadsheet();
    ScopedRecordingSpreadsheet(const ScopedRecordingSpreadsheet&) = delete;
    ScopedRecordingSpreadsheet& operator=(const ScopedRecordingSpreadsheet&) = delete;

    SpreadsheetLog* operator->() { return &log_; }
    SpreadsheetLog& log() { return log_; }

private:
    SpreadsheetLog log_;
};

} // namespace testsupport
