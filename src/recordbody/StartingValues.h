#pragma once

namespace quillio::engine {
class Dataset;
}

namespace quillio::recordbody {

// What a new draft, and a new invoice before its draft is chosen, start with: the first text line
// "VS DARE PER", automatic totals, a rate of 20 and zero totals.
class StartingValues
{
public:
    static void write(engine::Dataset& record);
};

} // namespace quillio::recordbody
