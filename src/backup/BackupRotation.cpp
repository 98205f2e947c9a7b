#include "backup/BackupRotation.h"

#include <QDir>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

namespace quillio::backup {

namespace {

struct Copy
{
    QString name;
    QDateTime moment;
};

// The newest copy of each group, for the `count` newest groups; `groupOf` gives a copy's group.
template <typename Key, typename GroupOf>
QSet<QString> newestOfGroups(const QList<Copy>& newestFirst, int count, GroupOf groupOf)
{
    QSet<QString> kept;
    QSet<Key> groups;
    for (const Copy& copy : newestFirst) {
        const Key group = groupOf(copy);
        if (groups.contains(group))
            continue;
        if (groups.size() == count)
            break;
        groups.insert(group);
        kept.insert(copy.name);
    }
    return kept;
}

int monthIndex(const QDate& date)
{
    return date.year() * 12 + date.month() - 1;
}

} // namespace

std::optional<QDateTime> BackupRotation::momentOf(const QString& fileName)
{
    static const QRegularExpression shape(QStringLiteral("^Quillio-(\\d{4}-\\d{2}-\\d{2}-\\d{4})\\.zip$"));
    const QRegularExpressionMatch match = shape.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDateTime moment = QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd-HHmm"));
    return moment.isValid() ? std::optional(moment) : std::nullopt;
}

QStringList BackupRotation::toRemove(const QStringList& fileNames, const QDate& today)
{
    QList<Copy> copies;
    for (const QString& name : fileNames)
        if (const std::optional<QDateTime> moment = momentOf(name))
            copies.append({name, *moment});
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return a.moment != b.moment ? a.moment > b.moment : a.name > b.name;
    });
    QSet<QString> kept =
        newestOfGroups<QDate>(copies, keptDays, [](const Copy& copy) { return copy.moment.date(); });
    // Months count back from today's, whether or not they have a copy.
    const int firstKeptMonth = monthIndex(today) - (keptMonths - 1);
    QList<Copy> recentMonths;
    for (const Copy& copy : copies)
        if (monthIndex(copy.moment.date()) >= firstKeptMonth)
            recentMonths.append(copy);
    kept.unite(newestOfGroups<int>(recentMonths, keptMonths,
                                   [](const Copy& copy) { return monthIndex(copy.moment.date()); }));
    QStringList removed;
    for (const Copy& copy : copies)
        if (!kept.contains(copy.name))
            removed.append(copy.name);
    removed.sort();
    return removed;
}

QStringList BackupRotation::apply(const QString& folder, const QDate& today)
{
    const QDir directory(folder);
    QStringList removed;
    for (const QString& name : toRemove(directory.entryList(QDir::Files), today))
        if (QFile::remove(directory.filePath(name)))
            removed.append(name);
    return removed;
}

} // namespace quillio::backup
