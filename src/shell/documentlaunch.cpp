#include "shell/documentlaunch.h"

#include "datafiles/linefield.h"
#include "platform/onscreen.h"
#include "shell/formnames.h"
#include "shell/launchedwindow.h"

namespace shell {

namespace {

DocumentWindowFields fieldsOf(const datafiles::TextField& state, const datafiles::TextField& height,
                              const datafiles::TextField& width, const datafiles::TextField& left,
                              const datafiles::TextField& top, const datafiles::TextField& toolbar,
                              const datafiles::TextField& textbar, const datafiles::RecentFileSlot& one,
                              const datafiles::RecentFileSlot& two, const datafiles::RecentFileSlot& three)
{
    return {&state, &height, &width, &left, &top, &toolbar, &textbar, {&one, &two, &three}};
}

// A bar's stored check mark; a damaged value keeps the initial one.
bool barChecked(const datafiles::TextField& stored, const datafiles::TextField& initial)
{
    return datafiles::parseOption(stored.value())
        .value_or(datafiles::parseOption(initial.value()).value_or(true));
}

void place(QWidget& form, const Placement& p)
{
    // The position and size are those of the normal window; its state comes after them.
    form.setWindowState(Qt::WindowNoState);
    form.move(p.position);
    form.resize(p.size);
    form.setWindowState(p.state);
}

} // namespace

StoredPlacement DocumentWindowFields::placement() const
{
    return {WindowState->value(), Left->value(), Top->value(), Height->value(), Width->value()};
}

std::optional<DocumentWindowFields> documentWindowFields(const datafiles::SettingsStore& s,
                                                         const QString& formName)
{
    if (formName == FormName::Items)
        return fieldsOf(s.frmItemsWindowState, s.frmItemsHeight, s.frmItemsWidth, s.frmItemsLeft,
                        s.frmItemsTop, s.frmItemstoolbarchecked, s.frmItemstextbarchecked, s.frmItemsfile1,
                        s.frmItemsfile2, s.frmItemsfile3);
    if (formName == FormName::Contacts)
        return fieldsOf(s.frmContactsWindowState, s.frmContactsHeight, s.frmContactsWidth,
                        s.frmContactsLeft, s.frmContactsTop, s.frmContactstoolbarchecked,
                        s.frmContactstextbarchecked, s.frmContactsfile1, s.frmContactsfile2,
                        s.frmContactsfile3);
    if (formName == FormName::Transactions)
        return fieldsOf(s.frmTransactionsWindowState, s.frmTransactionsHeight, s.frmTransactionsWidth,
                        s.frmTransactionsLeft, s.frmTransactionsTop, s.frmTransactionstoolbarchecked,
                        s.frmTransactionstextbarchecked, s.frmTransactionsfile1, s.frmTransactionsfile2,
                        s.frmTransactionsfile3);
    return std::nullopt;
}

void openWithStoredPlacement(QWidget& form, LaunchedWindow& window, const DocumentWindowFields& stored,
                             const DocumentWindowFields& initial, const QList<QRect>& screens)
{
    place(form, placementToOpen(stored.placement(), initial.placement(), screens));
    window.setBarMenus(barChecked(*stored.toolbarchecked, *initial.toolbarchecked),
                       barChecked(*stored.textbarchecked, *initial.textbarchecked));
    window.showCheckedBars();
    window.Reposition();
    for (int slot = 1; slot <= 3; ++slot) {
        const QString caption = stored.file[slot - 1]->ToolTipText.value();
        window.setRecentFileCaption(slot, caption);
        if (!caption.isEmpty())
            window.showRecentFileMenu(slot);
    }
    form.show();
    // The frame the window system adds around the stored size must fit on the screen too.
    platform::keepOnScreen(form);
    form.raise();
    form.activateWindow();
}

} // namespace shell
