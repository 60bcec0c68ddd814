#pragma once
// The arguments office calls take: named property lists and file URLs.

#include "platform/calc/unostrings.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Any.hxx>
#include <com/sun/star/uno/Sequence.hxx>

#include <QFileInfo>
#include <QUrl>

#include <vector>

namespace platform::calc {

inline css::beans::PropertyValue property(const char* name, const css::uno::Any& value)
{
    css::beans::PropertyValue p;
    p.Name = OUString::createFromAscii(name);
    p.Value = value;
    return p;
}

inline css::uno::Sequence<css::beans::PropertyValue> properties(const std::vector<css::beans::PropertyValue>& list)
{
    return css::uno::Sequence<css::beans::PropertyValue>(list.data(), sal_Int32(list.size()));
}

// The file: URL of a local path, relative paths taken from the current folder.
inline OUString fileUrl(const QString& path)
{
    return toOUString(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded));
}

} // namespace platform::calc
