#include "customers/LinkTargets.h"

#include <QRegularExpression>

namespace quillio::customers {

std::optional<QUrl> LinkTargets::webSite(const QString& stored)
{
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    // Blanks around the stored text are no part of the address, and must not hide its scheme.
    QString address = stored.trimmed();
    if (address.isEmpty())
        return std::nullopt;
    const QRegularExpressionMatch match = scheme.match(address);
    // "www.example.it:8080" has a port, not a scheme: a scheme is followed by "//" or stands alone.
    const bool hasScheme = match.hasMatch() && !match.captured(1).contains(QLatin1Char('.'));
    if (hasScheme) {
        const QString name = match.captured(1).toLower();
        if (name != QLatin1String("http") && name != QLatin1String("https"))
            return std::nullopt;
    } else {
        address.prepend(QStringLiteral("http://"));
    }
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    return url;
}

QUrl LinkTargets::mailTo(const QString& stored)
{
    const QByteArray encoded = QUrl::toPercentEncoding(stored, QByteArray("@!$'()*+,;=:._-~"));
    return QUrl(QStringLiteral("mailto:") + QString::fromLatin1(encoded), QUrl::StrictMode);
}

} // namespace quillio::customers
