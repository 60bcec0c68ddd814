#pragma once
// The program's windows by form name ("frmItems", "frmPayments", ...): each is made by its
// factory on first use, exists once, and is forgotten when it is unloaded (closed), so that
// the next use makes it afresh. A name without a factory names a window that is not built;
// asking for it gives nullptr and nothing else happens.
//
// Closing a registered window unloads it: the registry sets Qt::WA_DeleteOnClose on its form,
// so a close the window accepts destroys it, and the registry then drops its entry. A window
// that refuses the close (its "Save Changes?" answered Cancel) stays loaded.

#include "shell/programwindow.h"

#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace shell {

class WindowRegistry {
public:
    using Factory = std::function<std::unique_ptr<ProgramWindow>()>;

    WindowRegistry() = default;
    ~WindowRegistry();
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;

    // Registers the factory of a window; a later one for the same name replaces it.
    void add(const QString& name, Factory factory);
    // Whether a window of that name can be made.
    bool has(const QString& name) const;

    // The window when it is loaded; never makes it.
    ProgramWindow* find(const QString& name) const;
    // The window, made on first use; nullptr when no factory is registered for the name.
    ProgramWindow* get(const QString& name);

    // Unloads the window for the program's shut-down: it is closed and runs its own closing
    // steps. False when it refused to close (it stays loaded); true when it closed or was not
    // loaded.
    bool unload(const QString& name);

    // Forgets a window that has unloaded itself (its own closing steps have run): the next
    // use makes it afresh. Its form is deleted once the call that unloaded it has returned.
    void forget(const QString& name);

    // Drops every window without its closing steps: the program is ending at once. A form
    // that unloaded itself and still waits to be deleted goes too, so that no window outlives
    // the program whose settings it writes to.
    void dropAll();

    // The names of the loaded windows.
    QStringList loaded() const;

private:
    struct Entry {
        std::unique_ptr<ProgramWindow> window;
        QPointer<QWidget> form;
        QMetaObject::Connection destroyed;
    };

    // Alive: deleted now; Unloading: deleted once control is back in the event loop; Gone:
    // already being destroyed.
    enum class FormState { Alive, Unloading, Gone };
    void drop(const QString& name, FormState state);

    std::map<QString, Factory> m_factories;
    std::map<QString, Entry> m_loaded;
    // Forms that unloaded themselves, until they are deleted.
    std::vector<QPointer<QWidget>> m_unloading;
};

} // namespace shell
