#pragma once

#include <QString>

namespace quillio::config {

// Reads and writes one text value under a per-user settings key. Nothing is cached: every read
// goes back to the store, so a value written anywhere is seen by the next read.
//
// On Windows the key lives in the registry under HKEY_CURRENT_USER; elsewhere it is an INI file
// below the settings root of Platform::paths(), named after the key path ("ORVALDA\Quillio09\"
// gives ORVALDA/Quillio09.ini).
class SettingsStore
{
public:
    // The value's text, or the empty text when the key or the value is missing; text stored with a
    // NUL character is cut there. A value that is not text raises SettingsError
    // "Invalid data type for 'name'".
    static QString LeggiReg(const QString& keyPath, const QString& name);
    // Stores the text, creating the key when needed; an empty value is stored as empty text.
    // Raises SettingsError naming the value when the store refuses the write.
    static void ScriviReg(const QString& keyPath, const QString& name, const QString& value);

    // Where a key's values are kept (a registry path on Windows, a file path elsewhere).
    static QString location(const QString& keyPath);
};

} // namespace quillio::config
