// The posting of a transaction between two contacts whose company files hold 10,000 (and
// 100,000) contacts each, beside the baseline of a plain safe save of the files it changes:
// the two company files through the grid's list-file writer, the header and the line items
// through the safe writer. The posting takes the posting lock, reads both files, checks the
// contacts' rows, moves the two balance cells and writes both files, the header and the line
// items through its journal. BM_PostingBesidePlainSave runs both by turns and prints the
// medians and their ratio.

#include "datafiles/datafoldertree.h"
#include "datafiles/settingsfile.h"
#include "datafiles/settingsstore.h"
#include "grid/documents/gridfile.h"
#include "grid/gridcore.h"
#include "platform/programfolder.h"
#include "platform/safefile.h"
#include "posting/transactionposting.h"
#include "besidebaseline.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

void fillCompany(grid::GridCore& core, const QString& prefix, int Contacts)
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
    explicit Setup(int contacts) : Contacts(contacts), PartyRow(contacts / 2) { make(); }
    int Contacts;
    int PartyRow;
    QTemporaryDir dir;
    datafiles::SettingsStore store;
    grid::GridCore fromCore, toCore;
    std::unique_ptr<grid::GridFile> fromFile, toFile;
    QString fromPath, toPath, transaction;
    QByteArray lineItems;
    int posted = 0;
    QByteArray headerBytes;

    void make()
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
        fillCompany(fromCore, QStringLiteral("Supplier"), Contacts);
        fillCompany(toCore, QStringLiteral("Customer"), Contacts);
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
        postOnce(); // the transaction's first save, which the baseline's header copies
    }

    // Posts one more unit: the value rises by 1 on every save.
    void postOnce()
    {
        datafiles::TransactionHeader h;
        // A header file without its number is not one a posting wrote: the next save refuses it.
        h.TransactionNumber.Caption = QStringLiteral("1");
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
        if (headerBytes.isEmpty() && !platform::readWholeFile(transaction + QStringLiteral("H"), headerBytes).ok)
            std::abort();
    }

    // The files the posting changes, saved plainly: the company files as the contact window
    // saves them, the header and the line items through the safe writer.
    bool savePlainly()
    {
        return fromFile->SaveFile(fromPath, true).ok && toFile->SaveFile(toPath, true).ok
            && platform::writeFileAtomically(transaction + QStringLiteral("H"), headerBytes).ok
            && platform::writeFileAtomically(transaction, lineItems).ok;
    }
};

Setup& setup(int contacts)
{
    static std::map<int, std::unique_ptr<Setup>> made;
    auto& s = made[contacts];
    if (!s)
        s = std::make_unique<Setup>(contacts);
    return *s;
}

// Both by turns, so that the ratio is taken on the same disk at the same moments.
void BM_PostingBesidePlainSave(benchmark::State& state)
{
    Setup& s = setup(int(state.range(0)));
    BesideBaseline turns;
    for (auto _ : state)
        if (!turns.turn(state, [&] { return s.savePlainly(); }, [&] { s.postOnce(); return true; }))
            state.SkipWithError("a save failed");
    turns.report(state);
}
BENCHMARK(BM_PostingBesidePlainSave)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->UseManualTime();

} // namespace
