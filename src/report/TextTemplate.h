#pragma once

#include <QList>
#include <QString>

namespace quillio::report {

class ReportParameters;

// The text of a box: literal text and ${Name} placeholders. Placeholders are filled once: a
// parameter whose text itself contains "${Via}" prints exactly as typed. In a table row, '#' in a
// placeholder name stands for the row number.
class TextTemplate
{
public:
    TextTemplate() = default;
    // Splits the text into literals and placeholders; a "${" without its "}" or a name that is not
    // letters, digits, '_' and '#' is refused with the reason in `error`.
    static TextTemplate parse(const QString& text, QString* error);

    // The text with every placeholder replaced by its parameter (empty when there is none).
    // `row` (with `digits` zero-padded digits) replaces '#' in the names; -1 for boxes outside tables.
    // `page`, when given, holds the texts of one page (its number) and wins over `parameters`.
    QString fill(const ReportParameters& parameters, int row = -1, int digits = 0,
                 const ReportParameters* page = nullptr) const;
    bool hasPlaceholders() const;
    // Whether the text holds placeholders and every one of them is empty for this row.
    bool allPlaceholdersEmpty(const ReportParameters& parameters, int row, int digits,
                              const ReportParameters* page = nullptr) const;

private:
    struct Segment
    {
        QString text;
        bool placeholder = false;
    };
    static QString nameForRow(const QString& name, int row, int digits);
    static QString valueOf(const QString& name, const ReportParameters& parameters,
                           const ReportParameters* page);

    QList<Segment> m_segments;
};

} // namespace quillio::report
