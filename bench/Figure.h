#pragma once

#include <QString>
#include <optional>

namespace quillio::bench {

// What a figure should stay within: its value or its ratio to the baseline, below (or at most) a limit.
struct Target
{
    enum class Of { Value, Ratio };
    Of of = Of::Value;
    double limit = 0;
    bool inclusive = false; // "at most" rather than "under"

    bool isMetBy(double measured) const { return inclusive ? measured <= limit : measured < limit; }
};

// One measured figure of one archive size, with the same work done directly on SQLite when there is
// something to compare with.
struct Figure
{
    QString name;
    int records = 0;
    double value = 0;
    QString unit;
    std::optional<double> baseline;
    std::optional<Target> target;

    // Ours divided by the baseline; none without a (positive) baseline.
    std::optional<double> ratio() const
    {
        if (!baseline || *baseline <= 0)
            return std::nullopt;
        return value / *baseline;
    }

    // Whether the figure meets its target; none when it has no target or its ratio is unknown.
    std::optional<bool> meetsTarget() const
    {
        if (!target)
            return std::nullopt;
        if (target->of == Target::Of::Value)
            return target->isMetBy(value);
        const std::optional<double> r = ratio();
        return r ? std::optional<bool>(target->isMetBy(*r)) : std::nullopt;
    }
};

} // namespace quillio::bench
