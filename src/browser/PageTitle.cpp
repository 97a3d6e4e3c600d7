#include "browser/PageTitle.h"

#include "browser/AddressRules.h"

namespace address {

QString pageTitle(const QString &locationUrl)
{
    const QString trimmed = trimBlanks(locationUrl);
    if (trimmed.isEmpty() || trimmed == QLatin1String("about:blank"))
        return trimmed;
    const qsizetype p = locationUrl.indexOf(QLatin1String("file:///"), 0, Qt::CaseSensitive);
    QString t = p >= 0 ? locationUrl.mid(p + 8) : locationUrl;
    t.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return t;
}

} // namespace address
