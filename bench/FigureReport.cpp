#include "FigureReport.h"

#include <cmath>

namespace quillio::bench {

namespace {

constexpr int NameWidth = 16;
constexpr int ValueWidth = 10;

// Small figures keep three decimals, large ones one: enough to compare, few enough to read.
QString shown(double value)
{
    return QString::number(value, 'f', std::abs(value) < 10 ? 3 : 1);
}

// JSON has no NaN or infinity: a figure that is not a number is written as null.
QByteArray jsonNumber(std::optional<double> value)
{
    if (!value || !std::isfinite(*value))
        return "null";
    return QByteArray::number(std::round(*value * 1000) / 1000, 'g', 15);
}

QByteArray jsonString(const QString& text)
{
    QByteArray quoted = "\"";
    for (const char c : text.toUtf8()) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        if (static_cast<unsigned char>(c) < 0x20)
            quoted += "\\u" + QByteArray::number(int(c), 16).rightJustified(4, '0');
        else
            quoted += c;
    }
    return quoted + '"';
}

} // namespace

QString FigureReport::targetText(const Figure& figure)
{
    const std::optional<bool> met = figure.meetsTarget();
    if (!figure.target || !met)
        return {};
    const Target& target = *figure.target;
    const bool onRatio = target.of == Target::Of::Ratio;
    const QString limit = QString::number(target.limit) + (onRatio ? QString() : u' ' + figure.unit);
    return QStringLiteral("   target %1%2 %3: %4")
        .arg(onRatio ? QStringLiteral("ratio ") : QString(),
             target.inclusive ? QStringLiteral("<=") : QStringLiteral("<"), limit,
             *met ? QStringLiteral("met") : QStringLiteral("MISSED"));
}

QString FigureReport::textLine(const Figure& figure)
{
    QString line = QStringLiteral("  %1 %2 %3")
                       .arg(figure.name, -NameWidth)
                       .arg(shown(figure.value), ValueWidth)
                       .arg(figure.unit, -2);
    if (figure.baseline)
        line += QStringLiteral("   baseline %1 %2").arg(shown(*figure.baseline), ValueWidth).arg(figure.unit);
    if (const std::optional<double> ratio = figure.ratio())
        line += QStringLiteral("   ratio %1").arg(QString::number(*ratio, 'f', 2));
    return line + targetText(figure);
}

QString FigureReport::textBlock(int records, const QList<Figure>& figures)
{
    QString block = QStringLiteral("%1 records\n").arg(records);
    for (const Figure& figure : figures)
        block += textLine(figure) + u'\n';
    return block;
}

QByteArray FigureReport::json(const QList<Figure>& figures)
{
    // Written by hand to keep the keys in their documented order, one figure per line.
    QByteArrayList objects;
    for (const Figure& figure : figures) {
        objects.append("  {\"name\": " + jsonString(figure.name) +
                       ", \"records\": " + QByteArray::number(figure.records) +
                       ", \"value\": " + jsonNumber(figure.value) + ", \"unit\": " + jsonString(figure.unit) +
                       ", \"baseline\": " + jsonNumber(figure.baseline) +
                       ", \"ratio\": " + jsonNumber(figure.ratio()) + "}");
    }
    return "[\n" + objects.join(",\n") + (objects.isEmpty() ? "]\n" : "\n]\n");
}

} // namespace quillio::bench
