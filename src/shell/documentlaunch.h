#pragma once
// The launcher's opening of a document window (the item groups, contact companies or
// transactions window): the window gets the placement, bars and recent-file menus stored for
// it in the settings store, is laid out for its bars and is shown. Opening it again puts it
// back where it was when it last closed.
//
// Left and Top are the position of the window's frame (QWidget::pos), Width and Height the
// size of its client area (QWidget::size), in twips at 15 per pixel; a window that stores its
// placement as it closes stores it in the same terms.

#include "datafiles/settingsstore.h"
#include "shell/placement.h"

#include <QList>
#include <QRect>
#include <QString>
#include <QWidget>
#include <optional>

namespace shell {

class LaunchedWindow;

// The settings store's fields of one document window that the launcher reads.
struct DocumentWindowFields {
    const datafiles::TextField* WindowState;
    const datafiles::TextField* Height;
    const datafiles::TextField* Width;
    const datafiles::TextField* Left;
    const datafiles::TextField* Top;
    const datafiles::TextField* toolbarchecked;
    const datafiles::TextField* textbarchecked;
    const datafiles::RecentFileSlot* file[3];

    StoredPlacement placement() const;
};

// The fields of the window with that form name; nothing for a window that is not one of the
// three document windows.
std::optional<DocumentWindowFields> documentWindowFields(const datafiles::SettingsStore& store,
                                                         const QString& formName);

// Opens the window as the launcher does: state, position and size (or the initial placement
// when the stored one is damaged or off every screen), the bar menus and bars, Reposition,
// the recent-file menus, then shows it in front. `initial` are the same fields of a store
// that holds the initial values.
void openWithStoredPlacement(QWidget& form, LaunchedWindow& window, const DocumentWindowFields& stored,
                             const DocumentWindowFields& initial, const QList<QRect>& screens);

} // namespace shell
