#include "shell/windowregistry.h"

#include <QObject>

namespace shell {

WindowRegistry::~WindowRegistry()
{
    dropAll();
}

void WindowRegistry::add(const QString& name, Factory factory)
{
    m_factories[name] = std::move(factory);
}

bool WindowRegistry::has(const QString& name) const
{
    return m_factories.count(name) != 0;
}

ProgramWindow* WindowRegistry::find(const QString& name) const
{
    const auto it = m_loaded.find(name);
    return it == m_loaded.end() ? nullptr : it->second.window.get();
}

ProgramWindow* WindowRegistry::get(const QString& name)
{
    if (ProgramWindow* loaded = find(name))
        return loaded;
    const auto factory = m_factories.find(name);
    if (factory == m_factories.end())
        return nullptr;
    std::unique_ptr<ProgramWindow> window = factory->second();
    if (!window)
        return nullptr;
    QWidget& form = window->form();
    form.setAttribute(Qt::WA_DeleteOnClose);
    Entry& entry = m_loaded[name];
    entry.window = std::move(window);
    entry.form = &form;
    // A close the window accepts destroys its form; its entry goes with it.
    // (The form is still being destroyed then: it must not be deleted again.)
    entry.destroyed = QObject::connect(&form, &QObject::destroyed, [this, name] { drop(name, FormState::Gone); });
    return entry.window.get();
}

bool WindowRegistry::unload(const QString& name)
{
    ProgramWindow* window = find(name);
    if (!window)
        return true;
    const QPointer<QWidget> form = &window->form();
    if (!window->closeForShutDown())
        return false;
    // The form would delete itself later, also one that had itself forgotten as it closed;
    // it goes now, so that the name is free at once and no window outlives the program.
    drop(name, FormState::Alive);
    delete form.data();
    return true;
}

void WindowRegistry::forget(const QString& name)
{
    drop(name, FormState::Unloading);
}

void WindowRegistry::dropAll()
{
    while (!m_loaded.empty())
        drop(m_loaded.begin()->first, FormState::Alive);
    for (const QPointer<QWidget>& form : m_unloading)
        delete form.data();
    m_unloading.clear();
}

QStringList WindowRegistry::loaded() const
{
    QStringList names;
    for (const auto& [name, entry] : m_loaded)
        names << name;
    return names;
}

void WindowRegistry::drop(const QString& name, FormState state)
{
    const auto it = m_loaded.find(name);
    if (it == m_loaded.end())
        return;
    QObject::disconnect(it->second.destroyed);
    // Taken out of the map first: destroying the window must find the name free.
    std::unique_ptr<ProgramWindow> window = std::move(it->second.window);
    QWidget* form = state == FormState::Gone ? nullptr : it->second.form.data();
    m_loaded.erase(it);
    window.reset();
    std::erase_if(m_unloading, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
    if (state == FormState::Unloading && form) {
        form->deleteLater(); // the call that unloaded it is still running in it
        m_unloading.emplace_back(form);
    } else {
        delete form;
    }
}

} // namespace shell
