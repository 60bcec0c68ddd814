#pragma once
// What the start-up window's launcher sets on a document window when it opens it, besides
// the window's state, position, size and showing, which it sets on the widget itself. Each
// member mirrors the window's own controls: the menus `toolbar` and `textbar`, the bars they
// show, `Reposition` and the recent-file menus `file1` to `file3`.

#include <QString>

namespace shell {

class LaunchedWindow {
public:
    virtual ~LaunchedWindow() = default;

    // Sets the check marks of the menus `toolbar` and `textbar`.
    virtual void setBarMenus(bool toolbarChecked, bool textbarChecked) = 0;
    // Shows the tool bar frame `mainbar` when `toolbar` is checked and hides it otherwise;
    // the same for the text bar `TextText` and `textbar`.
    virtual void showCheckedBars() = 0;
    // Lays the window out for the bars now shown.
    virtual void Reposition() = 0;
    // The caption of the recent-file menu `file1`, `file2` or `file3` (slot 1 to 3), and
    // making that menu visible.
    virtual void setRecentFileCaption(int slot, const QString& caption) = 0;
    virtual void showRecentFileMenu(int slot) = 0;
};

} // namespace shell
