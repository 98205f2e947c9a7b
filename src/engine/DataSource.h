#pragma once

namespace quillio::engine {

class Dataset;

// Links data-bound controls to a table or query.
class DataSource
{
public:
    explicit DataSource(engine::Dataset& dataset) : m_dataset(dataset) {}
    engine::Dataset& dataset() const { return m_dataset; }

private:
    engine::Dataset& m_dataset;
};

} // namespace quillio::engine
