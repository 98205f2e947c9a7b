#include "engine/TextCollation.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <sqlite3.h>

namespace quillio::engine {

namespace {

int compareTexts(void* context, int aSize, const void* a, int bSize, const void* b)
{
    const auto* collator = static_cast<const QCollator*>(context);
    const QString left = QString::fromUtf8(static_cast<const char*>(a), aSize);
    const QString right = QString::fromUtf8(static_cast<const char*>(b), bSize);
    const int order = collator->compare(left, right);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

void destroyCollator(void* context)
{
    delete static_cast<QCollator*>(context);
}

} // namespace

QCollator TextCollation::collator()
{
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

void TextCollation::install(sqlite3* db)
{
    auto* collator = new QCollator(TextCollation::collator());
    // Unlike its other interfaces, SQLite leaves the context to the caller when this one fails.
    if (sqlite3_create_collation_v2(db, Name, SQLITE_UTF8, collator, compareTexts, destroyCollator) !=
        SQLITE_OK)
        delete collator;
}

} // namespace quillio::engine
