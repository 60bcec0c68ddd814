#pragma once
// The read-only test of a document file: the file exists and may not be written, either
// because no write permission is set on it at all (the read-only attribute other
// installations see, which holds for the administrator too) or because this user may not
// write it. A file that does not exist is never read-only.

#include <QString>

namespace services {

bool isReadOnlyFile(const QString& path);

} // namespace services
