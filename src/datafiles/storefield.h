#pragma once
// One value of the settings store: setting it to a different value runs the field's own
// reaction at once, then tells whoever watches it (the settings window), as a control's
// change handler would.

#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace datafiles {

template <typename T>
class StoreField {
public:
    StoreField() = default;
    explicit StoreField(T initial) : m_value(std::move(initial)) {}
    StoreField(const StoreField&) = delete;
    StoreField& operator=(const StoreField&) = delete;

    const T& value() const { return m_value; }
    operator const T&() const { return m_value; }

    StoreField& operator=(const T& v)
    {
        set(v);
        return *this;
    }

    // Sets the value; the reaction and the watchers run only when it really changes. A
    // reaction that sets the field again (a rule that corrects the value) has already told
    // the watchers about the corrected value, so they are not told twice.
    void set(const T& v)
    {
        if (v == m_value)
            return;
        m_value = v;
        const unsigned generation = ++m_generation;
        if (m_reaction)
            m_reaction();
        if (generation != m_generation)
            return;
        for (const auto& watcher : m_watchers)
            watcher();
    }

    // The field's own rule (installed by the store).
    void setReaction(std::function<void()> reaction) { m_reaction = std::move(reaction); }
    // Another party that wants to know of every change (a window showing the field).
    void watch(std::function<void()> watcher) { m_watchers.push_back(std::move(watcher)); }

private:
    T m_value{};
    unsigned m_generation = 0;
    std::function<void()> m_reaction;
    std::vector<std::function<void()>> m_watchers;
};

using TextField = StoreField<QString>;
using OptionField = StoreField<bool>;

// A check box of the store: its value (0 or 1) and whether the user may change it.
struct CheckBoxField {
    StoreField<int> Value;
    StoreField<bool> Enabled;
};

// A recent-file slot: the document's full path, its title, and the marker of the slot that
// is written next (not saved).
struct RecentFileSlot {
    static constexpr uint32_t NextSlotColor = 0x80000009;
    static constexpr uint32_t WrittenSlotColor = 0x8000000A;
    TextField Caption;
    TextField ToolTipText;
    StoreField<uint32_t> BackColor{NextSlotColor};
};

// A template button of the Forms page: its tooltip holds the chosen template's path.
struct TemplateButton {
    TextField ToolTipText;
};

} // namespace datafiles
