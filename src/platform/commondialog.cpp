#include "platform/commondialog.h"

namespace platform {

QStringList CommonDialog::qtNameFilters() const
{
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (patterns.isEmpty())
            continue;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(description.isEmpty() ? patterns : description, patterns);
    }
    return filters;
}

} // namespace platform
