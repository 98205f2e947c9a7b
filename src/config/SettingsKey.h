#pragma once

#include <QString>

namespace quillio::config {

// The per-user settings key and the names of its values.
namespace SettingsKey {
inline const QString path = QStringLiteral("ORVALDA\\Quillio09\\");

inline const QString conf = QStringLiteral("Conf");
inline const QString pathPrg = QStringLiteral("PathPrg");
inline const QString pathTemp = QStringLiteral("PathTemp");
inline const QString pathDatiGen = QStringLiteral("PathDatiGen");
inline const QString aliasDb = QStringLiteral("AliasDB");
inline const QString anno = QStringLiteral("Anno");
inline const QString dbRubrica = QStringLiteral("DBRubrica");
inline const QString dbBozze = QStringLiteral("DBBozze");
inline const QString dbFatture = QStringLiteral("DBFatture");

// First-run values that others show before the settings are read.
inline const QString defaultYear = QStringLiteral("2009");
inline const QString defaultAlias = QStringLiteral("QUILDB09");
} // namespace SettingsKey

} // namespace quillio::config
