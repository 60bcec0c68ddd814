#pragma once
// The spreadsheet program as LibreOffice Calc, driven through UNO: each instance fills and
// reads a workbook of its own in the program's one private headless office, which is started
// by the first instance, kept for the ones after it and ended with the program.

#include "platform/calc/calcoptions.h"
#include "platform/spreadsheet.h"

#include <memory>

namespace platform::calc {

class CalcSpreadsheet final : public Spreadsheet {
public:
    explicit CalcSpreadsheet(CalcOptions options = CalcOptions());
    ~CalcSpreadsheet() override;

    bool start() override;
    void setDisplayAlerts(bool on) override;
    bool setVisible(bool visible) override;
    bool addWorkbook() override;
    bool openWorkbook(const QString& path, bool readOnly) override;
    bool writeCell(const QString& address, const QString& text) override;
    bool writeRow(int row, int firstColumn, std::span<const QString> texts) override;
    bool writeNumber(const QString& address, double value) override;
    bool writeDate(const QString& address, const QDateTime& value) override;
    QString readCell(const QString& address) override;
    std::vector<int> filledColumns(int firstColumn, int lastRow) override;
    bool printActiveSheet(int copies, bool collate) override;
    bool show() override;
    void quit() override;
    QString lastError() const override;

    // Sends the held cell writes to the sheet now (reads, prints and shows do it anyway).
    bool flush();

    // Stores the active workbook in a file (the format follows the extension: .xls,
    // .xlsx, .ods or .pdf). For tests and tools; the program itself never saves.
    bool saveAs(const QString& path);

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace platform::calc
