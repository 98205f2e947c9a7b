#include "engine/Values.h"

#include "engine/FieldCodec.h"
#include "platform/ConversionError.h"

#include <QLocale>
#include <cmath>

namespace quillio::engine {

namespace {

enum class NumberKind { None, Integral, Floating };

NumberKind numberKind(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return NumberKind::Integral;
    case QMetaType::Double:
    case QMetaType::Float:
        return NumberKind::Floating;
    default:
        return NumberKind::None;
    }
}

} // namespace

bool Values::equal(const QVariant& a, const QVariant& b)
{
    const bool aNull = isNull(a);
    const bool bNull = isNull(b);
    if (aNull || bNull)
        return aNull && bNull;

    const NumberKind aKind = numberKind(a);
    const NumberKind bKind = numberKind(b);
    if (aKind != NumberKind::None && bKind != NumberKind::None) {
        if (aKind == NumberKind::Integral && bKind == NumberKind::Integral) {
            // Exact over the whole range, unsigned values above the signed range included.
            const auto isNegative = [](const QVariant& v) {
                return v.typeId() != QMetaType::ULongLong && v.toLongLong() < 0;
            };
            if (isNegative(a) || isNegative(b))
                return a.toLongLong() == b.toLongLong() && isNegative(a) == isNegative(b);
            return a.toULongLong() == b.toULongLong();
        }
        return a.toDouble() == b.toDouble();
    }
    if (aKind != NumberKind::None || bKind != NumberKind::None)
        return false;
    if (a.typeId() != b.typeId())
        return false;
    if (a.typeId() == QMetaType::QString)
        return a.toString() == b.toString();
    return a == b;
}

double Values::toDouble(const QVariant& value)
{
    if (numberKind(value) != NumberKind::None && !isNull(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1.0 : 0.0;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        bool ok = false;
        double number = QLocale::c().toDouble(text, &ok);
        if (!ok)
            number = QLocale().toDouble(text, &ok);
        if (ok && std::isfinite(number))
            return number;
    }
    throw ConversionError(QStringLiteral("Could not convert variant of type (%1) into type (Double)")
                              .arg(FieldCodec::typeName(value)));
}

} // namespace quillio::engine
