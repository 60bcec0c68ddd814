#pragma once
// A host for the grid's spreadsheet members in benchmarks: the spreadsheet program is
// usable, nothing is to be printed, and no window shows progress.

#include "grid/documents/exchangehost.h"

struct QuietExchangeHost : grid::ExchangeHost {
    QString lblEXCELSTATUS() const override { return QStringLiteral("RADI"); }
    QString PrintExcelFile() const override { return QStringLiteral("No"); }
    void setPrintExcelFile(const QString&) override {}
    QString ActiveList() const override { return QString(); }
    grid::GridWindow* window(const QString&) override { return nullptr; }
    grid::ProgressDisplay* ProgressBar1(const QString&) override { return nullptr; }
};
