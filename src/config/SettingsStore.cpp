#include "SettingsStore.h"

#include "Platform.h"
#include "SettingsError.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace quillio::config {

namespace {

QSettings::Format storeFormat()
{
#ifdef Q_OS_WIN
    return QSettings::NativeFormat;
#else
    return QSettings::IniFormat;
#endif
}

bool storeExists(const QString& location)
{
#ifdef Q_OS_WIN
    Q_UNUSED(location);
    return true;
#else
    return QFileInfo::exists(location);
#endif
}

} // namespace

QString SettingsStore::location(const QString& keyPath)
{
    QString relative = keyPath;
    while (relative.endsWith(QLatin1Char('\\')))
        relative.chop(1);
#ifdef Q_OS_WIN
    return QStringLiteral("HKEY_CURRENT_USER\\") + relative;
#else
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return Platform::paths().settingsRoot() + QLatin1Char('/') + relative + QStringLiteral(".ini");
#endif
}

QString SettingsStore::LeggiReg(const QString& keyPath, const QString& name)
{
    const QString where = location(keyPath);
    if (!storeExists(where))
        return {};
    const QSettings store(where, storeFormat());
    const QVariant value = store.value(name);
    if (!value.isValid())
        return {};
    if (value.typeId() != QMetaType::QString)
        throw SettingsError(QStringLiteral("Invalid data type for '%1'").arg(name));
    const QString text = value.toString();
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

void SettingsStore::ScriviReg(const QString& keyPath, const QString& name, const QString& value)
{
    QSettings store(location(keyPath), storeFormat());
    store.setValue(name, value.isNull() ? QStringLiteral("") : value);
    store.sync();
    if (store.status() != QSettings::NoError)
        throw SettingsError(
            QStringLiteral("Cannot store the setting '%1': the settings at %2 cannot be written")
                .arg(name, QDir::toNativeSeparators(store.fileName())));
}

} // namespace quillio::config
