// frmContacts' writes of its company file, beside the postings that change the same file:
// the posting lock held while it writes, and the balances postings changed since the window
// read the file kept in what it writes.

#include "windows/contacts/frmcontacts.h"

#include "datafiles/postinglock.h"
#include "grid/documents/documentlist.h"
#include "grid/gridcore.h"
#include "platform/prompts.h"
#include "platform/safefile.h"
#include "posting/companyfile.h"
#include "posting/companyfilechange.h"
#include "posting/postingchecks.h"

#include <QStringList>

namespace windows {

namespace {

// How the posting lock's messages name what was not saved.
const QString SavedKind = QStringLiteral("company file");

// The conflicts a question names at most; the rest are counted.
constexpr int NamedConflicts = 5;

class PostingHold final : public DocumentWindow::WriteHold {
public:
    explicit PostingHold(const QString& folder) : lock(folder) {}
    datafiles::PostingLock lock;
};

using MovedBalance = posting::CompanyFileChange::MovedBalance;

// A balance moved on disk that this list cannot take over: the user changed it too (here
// holds what the list has), or the contact's row no longer holds the contact (no here).
struct Conflict {
    MovedBalance moved;
    std::optional<QString> here;
};

QString describe(const Conflict& conflict)
{
    const MovedBalance& m = conflict.moved;
    QString text = QStringLiteral("%1 on row %2 from %3 to %4").arg(m.contact, QString::number(m.row), m.before, m.after);
    if (conflict.here)
        return text + QStringLiteral(", where this list holds %1").arg(*conflict.here);
    return text + QStringLiteral(", where this list no longer has %1").arg(m.contact);
}

QString conflictQuestion(const QString& path, const std::vector<Conflict>& conflicts, bool othersKept)
{
    QStringList named;
    for (const Conflict& conflict : conflicts) {
        if (named.size() == NamedConflicts) {
            named << QStringLiteral("%1 more").arg(conflicts.size() - NamedConflicts);
            break;
        }
        named << describe(conflict);
    }
    return path
        + QStringLiteral(" was changed on disk after this window read it: a posting or another computer has written "
                         "it, and changed the balance of %1. Yes writes this list over it, and what was written there "
                         "is lost, those balances too%2. No reads the file again, and the changes made here are lost. "
                         "Cancel saves nothing.")
              .arg(named.join(QStringLiteral("; and of ")),
                   othersKept ? QStringLiteral(", apart from the other balances changed there, which are kept")
                              : QString());
}

QString keptQuestion(const QString& path)
{
    return path
        + QStringLiteral(" was changed on disk after this window read it: a posting or another computer has written "
                         "it. Yes writes this list over it, and what was written there is lost, apart from the "
                         "balances changed there, which are kept. No reads the file again, and the changes made here "
                         "are lost. Cancel saves nothing.");
}

} // namespace

// The posting lock of the data folder, as a posting takes it: a posting cut short there is
// completed first, and while it is held no posting reads or writes the company files.
std::unique_ptr<DocumentWindow::WriteHold> frmContacts::holdForWriting()
{
    auto hold = std::make_unique<PostingHold>(datafiles::PostingLock::folderFor(store()));
    if (const posting::CheckResult taken = posting::takePostingLock(hold->lock, SavedKind); !taken) {
        prompts().MsgBox(taken.notice.text, taken.notice.style, taken.notice.title);
        return nullptr;
    }
    return hold;
}

// Compares the file now with the file as the grid read it. A balance that moved there (a
// posting's doing, or another computer's save) replaces the one in this list where the
// contact's row still holds the contact and the user left that balance as read; when nothing
// else changed the list is then written without a question. Otherwise the question says
// what Yes loses. The file as read may be unknown (it changed while the grid read it):
// nothing can then be told apart, and the question is the plain one.
DocumentWindow::ChangedFileAnswer frmContacts::changedOnDisk(const QString& path, bool userAgreed)
{
    const ChangedFileAnswer plain = DocumentWindow::changedOnDisk(path, userAgreed);
    QByteArray now;
    if (!m_fileAsRead || !platform::readWholeFile(path, now))
        return plain;
    const posting::CompanyFileChange change = posting::CompanyFileChange::between(path, *m_fileAsRead, now);
    if (!change.readable())
        return plain;

    const grid::DocumentList& list = List1();
    std::vector<MovedBalance> carried;
    std::vector<Conflict> conflicts;
    for (const MovedBalance& moved : change.moved()) {
        if (moved.row > list.ListCount()
            || list.GetItem(moved.row, posting::CompanyFile::NameColumn) != moved.contact) {
            conflicts.push_back({moved, std::nullopt});
            continue;
        }
        const QString here = list.GetItem(moved.row, posting::CompanyFile::BalanceColumn);
        if (here == moved.before)
            carried.push_back(moved);
        else if (here != moved.after)
            conflicts.push_back({moved, here});
    }

    if (!userAgreed && !(conflicts.empty() && change.onlyBalancesMoved())) {
        if (!conflicts.empty())
            return {false, conflictQuestion(path, conflicts, !carried.empty())};
        return {false, carried.empty() ? plain.question : keptQuestion(path)};
    }
    // The list takes the balances as the file holds them; they are not the user's changes,
    // and no undo takes them back.
    const SettingUp settingUp(*this);
    grid::GridCore& core = List1().core();
    for (const MovedBalance& moved : carried)
        core.setCellText(moved.row, posting::CompanyFile::BalanceColumn, moved.after);
    if (!carried.empty())
        core.RenderColumn(posting::CompanyFile::BalanceColumn);
    return {true, QString()};
}

// The bytes are taken only when the file kept the stamp it had before the grid read it (or
// right after it was written) until they were read: then they are what the grid holds.
void frmContacts::fileMatchesDocument(const QString& path, const std::optional<services::FileStamp>& stamp)
{
    m_fileAsRead.reset();
    QByteArray bytes;
    if (!stamp || !platform::readWholeFile(path, bytes) || services::FileStamp::of(path) != stamp)
        return;
    m_fileAsRead = std::move(bytes);
}

} // namespace windows
