#pragma once
// Conversions between Qt's and the office's strings; both are UTF-16.

#include <QString>
#include <rtl/ustring.hxx>

namespace platform::calc {

using rtl::OUString;

inline OUString toOUString(const QString& text)
{
    return OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), sal_Int32(text.size()));
}

inline QString toQString(const OUString& text)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text.getStr()), text.getLength());
}

} // namespace platform::calc
