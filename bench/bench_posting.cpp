// The posting of a transaction between two contacts whose company files hold 10,000
// contacts each, beside the baseline of simply saving those two files through the grid's
// list-file writer. The posting reads both files, checks the contacts' rows, moves the two
// balance cells and writes both files, the header and the line items through its journal.
// BM_PostingAgainstGridSave runs both in turn and prints the ratio.

#include "datafiles/datafoldertree.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "platform/programfolder.h"
#include "posting/transactionposting.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

constexpr int Contacts = 10000;
constexpr int PartyRow = 5000;

void fillCompany(grid::GridCore& core, const QString& prefix)
{
    core.ClearEntireList();
    core.setColumnCaption(1, QStringLiteral("Contact Name"));
    for (const char* caption : {"Balance", "Address", "City", "Phone"})
        core.AddColumn(0, 90, QString::fromLatin1(caption));
    core.resetRows(Contacts);
    for (int r = 1; r <= Contacts; ++r) {
        core.setCellText(r, 1, QStringLiteral("%1 contact %2").arg(prefix).arg(r));
        core.setCellText(r, 2, QString::number(r * 3 % 1000));
        core.setCellText(r, 3, QStringLiteral("Street %1").arg(r));
        core.setCellText(r, 4, QStringLiteral("Celje"));
        core.setCellText(r, 5, QStringLiteral("03 %1").arg(100000 + r));
    }
    core.ClearUndoRedo();
}

struct Setup {
    QTemporaryDir dir;
    datafiles::SettingsStore store;
    grid::GridCore fromCore, toCore;
    std::unique_ptr<grid::GridFile> fromFile, toFile;
    QString fromPath, toPath, transaction;
    QByteArray lineItems;
    int posted = 0;

    Setup()
    {
        platform::setProgramFolder(dir.path());
        datafiles::CreateDataFolders();
        store.CompanyName = QStringLiteral("Firma");
        if (!datafiles::SaveSettingsFile(store))
            std::abort();
        const QString contacts = datafiles::programPath(QStringLiteral("System/RAzar/Contacts/"));
        fromPath = contacts + QStringLiteral("Suppliers.QVC");
        toPath = contacts + QStringLiteral("Customers.QVC");
        transaction = datafiles::programPath(QStringLiteral("System/RAzar/Transactions/1.QVT"));
        fillCompany(fromCore, QStringLiteral("Supplier"));
        fillCompany(toCore, QStringLiteral("Customer"));
        fromFile = std::make_unique<grid::GridFile>(fromCore);
        toFile = std::make_unique<grid::GridFile>(toCore);
        if (!fromFile->SaveFileAs(fromPath, true).ok || !toFile->SaveFileAs(toPath, true).ok)
            std::abort();
        grid::GridCore items;
        items.setColumnCaption(1, QStringLiteral("Item"));
        items.AddColumn(0, 80, QStringLiteral("Price"));
        items.resetRows(3);
        for (int r = 1; r <= 3; ++r)
            items.setCellText(r, 1, QStringLiteral("Item %1").arg(r));
        lineItems = grid::GridFile(items).SaveFileBytes(transaction, true);
    }

    // Posts one more unit: the value rises by 1 on every save.
    void postOnce()
    {
        datafiles::TransactionHeader h;
        h.Value.Caption = QString::number(posted + 1);
        h.oldvalue.Caption = QString::number(posted);
        h.fromcompany = {fromPath, true};
        h.fromcontact = {QStringLiteral("Supplier contact %1").arg(PartyRow), true};
        h.fromcompanyiselected.Caption = QString::number(PartyRow);
        h.tocompany = {toPath, true};
        h.tocontact = {QStringLiteral("Customer contact %1").arg(PartyRow), true};
        h.tocompanyiselected.Caption = QString::number(PartyRow);
        posting::TransactionPosting posting(store);
        const posting::TransactionResult result =
            posting.post({posting::SaveKind::Save, h, transaction, lineItems});
        if (result.outcome != posting::Outcome::Posted)
            std::abort();
        ++posted;
    }

    void saveThroughGrid()
    {
        if (!fromFile->SaveFile(fromPath, true).ok || !toFile->SaveFile(toPath, true).ok)
            std::abort();
    }
};

Setup& setup()
{
    static Setup s;
    return s;
}

void BM_GridSaveTwoCompanyFiles(benchmark::State& state)
{
    Setup& s = setup();
    for (auto _ : state)
        s.saveThroughGrid();
}
BENCHMARK(BM_GridSaveTwoCompanyFiles)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PostToTwoContacts(benchmark::State& state)
{
    Setup& s = setup();
    for (auto _ : state)
        s.postOnce();
}
BENCHMARK(BM_PostToTwoContacts)->Unit(benchmark::kMillisecond)->Iterations(20);

// Both in turn, so that the ratio is taken on the same disk at the same moment.
void BM_PostingAgainstGridSave(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    Setup& s = setup();
    double postingSeconds = 0;
    double gridSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        s.postOnce();
        const auto middle = Clock::now();
        s.saveThroughGrid();
        const auto end = Clock::now();
        postingSeconds += std::chrono::duration<double>(middle - start).count();
        gridSeconds += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(std::chrono::duration<double>(middle - start).count());
    }
    const double n = double(state.iterations());
    state.counters["posting_ms"] = postingSeconds / n * 1000;
    state.counters["grid_save_ms"] = gridSeconds / n * 1000;
    state.counters["ratio"] = gridSeconds > 0 ? postingSeconds / gridSeconds : 0;
}
BENCHMARK(BM_PostingAgainstGridSave)->Unit(benchmark::kMillisecond)->Iterations(20)->UseManualTime();

} // namespace
