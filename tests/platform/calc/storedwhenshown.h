#pragma once
// Calc as the program drives it, except that a workbook handed to the user is stored in a
// file instead: tests run without a display, and the file is what they read back.

#include "platform/calc/calcspreadsheet.h"

#include <QString>
#include <utility>

class StoredWhenShown final : public platform::Spreadsheet {
public:
    explicit StoredWhenShown(QString path) : path_(std::move(path)) {}

    bool start() override { return calc_.start(); }
    void setDisplayAlerts(bool on) override { calc_.setDisplayAlerts(on); }
    bool setVisible(bool visible) override { return visible ? show() : calc_.setVisible(false); }
    bool addWorkbook() override { return calc_.addWorkbook(); }
    bool openWorkbook(const QString& path, bool readOnly) override { return calc_.openWorkbook(path, readOnly); }
    bool writeCell(const QString& a, const QString& t) override { return calc_.writeCell(a, t); }
    bool writeNumber(const QString& a, double v) override { return calc_.writeNumber(a, v); }
    bool writeDate(const QString& a, const QDateTime& v) override { return calc_.writeDate(a, v); }
    QString readCell(const QString& a) override { return calc_.readCell(a); }
    std::vector<int> filledColumns(int first, int last) override { return calc_.filledColumns(first, last); }
    bool printActiveSheet(int copies, bool collate) override { return calc_.printActiveSheet(copies, collate); }
    bool show() override
    {
        const bool stored = calc_.saveAs(path_);
        calc_.quit();
        return stored;
    }
    void quit() override { calc_.quit(); }
    QString lastError() const override { return calc_.lastError(); }

private:
    QString path_;
    platform::calc::CalcSpreadsheet calc_;
};
