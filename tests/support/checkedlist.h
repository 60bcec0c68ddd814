#pragma once
// A list for what a test has recorded (prompts shown, lines of a file read back) whose element
// accessors fail the running test instead of reading past the end. A step that did not happen
// then shows as a failure with its message, where an unchecked first() on an empty list would
// take the whole test program down and hide the rest of its run.

#include "support/qtprinters.h"

#include <QList>
#include <QString>
#include <ostream>
#include <source_location>

namespace testsupport {

// Fails the running test: entry `index` was asked for from a list of `size` entries.
void reportMissingEntry(qsizetype index, qsizetype size, const std::source_location& where);

template <typename T>
class CheckedList : public QList<T> {
public:
    CheckedList() = default;
    CheckedList(const QList<T>& list) : QList<T>(list) {}
    CheckedList(QList<T>&& list) : QList<T>(std::move(list)) {}
    CheckedList(std::initializer_list<T> entries) : QList<T>(entries) {}

    // A missing entry reads as a default value after the failure is reported.
    const T& at(qsizetype index, const std::source_location& where = std::source_location::current()) const
    {
        if (index >= 0 && index < this->size())
            return QList<T>::at(index);
        reportMissingEntry(index, this->size(), where);
        static const T none{};
        return none;
    }
    const T& operator[](qsizetype index) const { return at(index); }
    const T& first(const std::source_location& where = std::source_location::current()) const
    {
        return at(0, where);
    }
    const T& last(const std::source_location& where = std::source_location::current()) const
    {
        return at(this->size() - 1, where);
    }
};

// The prompts' texts print as a plain list of texts in failure messages.
inline void PrintTo(const CheckedList<QString>& texts, std::ostream* os)
{
    ::PrintTo(static_cast<const QStringList&>(texts), os);
}

} // namespace testsupport
