#pragma once

#include <QVariant>

namespace quillio::engine {

// Rules for field values: null is an invalid QVariant.
class Values
{
public:
    // Null equals null; null differs from every value, the empty text included; texts are equal
    // only when identical (case distinct); numbers compare by value whatever their QVariant type.
    static bool equal(const QVariant& a, const QVariant& b);
    // The number a value holds; a null raises the ConversionError
    // "Could not convert variant of type (Null) into type (Double)".
    static double toDouble(const QVariant& value);
    static bool isNull(const QVariant& value) { return !value.isValid() || value.isNull(); }
};

} // namespace quillio::engine
