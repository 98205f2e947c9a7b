#include "business/ExportRegister.h"

#include "business/BusinessFile.h"
#include "engine/EngineError.h"

namespace quillio::business {

namespace {

constexpr qint64 progressiveLimit = 36LL * 36 * 36 * 36 * 36;

} // namespace

QString ExportRegister::progressiveText(qint64 sequence)
{
    return QString::number(sequence, 36).toUpper().rightJustified(5, QLatin1Char('0'));
}

std::optional<QString> ExportRegister::currentProgressive(int year, qint64 number)
{
    return m_file.storage().lastProgressive(year, number);
}

QString ExportRegister::progressiveFor(int year, qint64 number, bool fresh)
{
    if (!fresh)
        if (std::optional<QString> current = currentProgressive(year, number))
            return *current;
    return m_file.storage().addProgressive(year, number, [](qint64 sequence) {
        if (sequence >= progressiveLimit)
            throw engine::EngineError(QStringLiteral(
                "Tutti i progressivi delle fatture elettroniche sono stati usati: non se ne può dare "
                "un altro."));
        return progressiveText(sequence);
    });
}

void ExportRegister::record(const ExportEntry& entry)
{
    m_file.storage().addExport(entry);
}

QList<ExportEntry> ExportRegister::entries(int year, bool withContent)
{
    return m_file.storage().exports(year, withContent);
}

} // namespace quillio::business
