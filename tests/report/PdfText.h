#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace quillio::report::test {

// The text of a PDF file as pdftotext reads it (with -layout: in reading order, line by line);
// pages are separated by form feeds. A null string when the tool failed.
inline QString pdfText(const QString& path, bool layout = true)
{
    QProcess process;
    QStringList arguments;
    if (layout)
        arguments << QStringLiteral("-layout");
    arguments << QStringLiteral("-enc") << QStringLiteral("UTF-8") << path << QStringLiteral("-");
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The position of each text in `haystack` when they appear in this order; -1 at the first that
// does not appear after the previous one.
inline QList<qsizetype> positionsInOrder(const QString& haystack, const QStringList& texts)
{
    QList<qsizetype> positions;
    qsizetype from = 0;
    for (const QString& text : texts) {
        const qsizetype at = haystack.indexOf(text, from);
        positions.append(at);
        if (at < 0)
            break;
        from = at + text.size();
    }
    return positions;
}

} // namespace quillio::report::test
