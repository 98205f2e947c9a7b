#pragma once

namespace quillio::engine {
class Dataset;
}

namespace quillio::archive {

// Links data-bound controls to a table or query of the data module.
class DataSource
{
public:
    explicit DataSource(engine::Dataset& dataset) : m_dataset(dataset) {}
    engine::Dataset& dataset() const { return m_dataset; }

private:
    engine::Dataset& m_dataset;
};

} // namespace quillio::archive
