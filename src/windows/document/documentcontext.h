#pragma once
// What a document window is given when it is made: the settings store; the start-up
// window's file dialog that holds the path of its open document (CommonDialog1 for item
// groups, CommonDialog2 for contact companies, CommonDialog3 for transactions); the prompts
// it asks through; the program around its grid (ActiveList, the windows by name and the
// spreadsheet state, which the grid calls back into); the program's window registry; the
// file search window that its search and list buttons open; and the settings window's form
// template picker, which a form command brings up when it finds no template. None is owned;
// all must outlive the window.

#include <QString>
#include <functional>

namespace datafiles {
class SettingsStore;
}
namespace grid {
class ExchangeHost;
}
namespace platform {
struct CommonDialog;
class Prompts;
}
namespace services {
class FormTemplatePicker;
}

namespace windows {

class FileSearchWindow;
class WindowShell;

struct DocumentContext {
    datafiles::SettingsStore& store;
    platform::CommonDialog& dialog;
    platform::Prompts& prompts;
    grid::ExchangeHost* gridHost = nullptr;
    WindowShell* shell = nullptr;
    FileSearchWindow* fileSearch = nullptr;
    // Plays a wave file to its end (the spreadsheet commands' sound); empty plays it through
    // the platform's sound.
    std::function<void(const QString& wavPath)> playSound = {};
    // nullptr: a missing template is only reported.
    services::FormTemplatePicker* formTemplatePicker = nullptr;
};

} // namespace windows
