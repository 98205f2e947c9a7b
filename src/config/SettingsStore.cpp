#include "config/SettingsStore.h"

#include "config/SettingsError.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryFile>

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

// The program stores text only. A value stored as a serialised variant ("@Variant(...)") is not
// text, and Qt's reader trusts the sizes written inside it: a damaged one can make it reserve
// gigabytes. Such values never reach that reader: asking for one is refused, and the other values
// are read from a copy of the file without them.
class VariantFreeCopy
{
public:
    // False when the file holds no stored variant and can be read as it is.
    bool prepare(const QString& location, const QString& name)
    {
        QFile file(location);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray raw = file.readAll();
        if (!raw.contains("@Variant("))
            return false;
        QByteArray kept;
        for (const QByteArray& line : raw.split('\n')) {
            const qsizetype equals = line.indexOf('=');
            if (equals < 0 || !line.mid(equals + 1).trimmed().startsWith("@Variant(")) {
                kept += line + '\n';
                continue;
            }
            if (QString::fromUtf8(line.left(equals).trimmed()) == name)
                throw SettingsError(QStringLiteral("Invalid data type for '%1'").arg(name));
        }
        if (!m_copy.open())
            throw SettingsError(QStringLiteral("Cannot read the setting '%1'").arg(name));
        m_copy.write(kept);
        m_copy.flush();
        return true;
    }
    QString fileName() const { return m_copy.fileName(); }

private:
    QTemporaryFile m_copy;
};

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
#ifndef Q_OS_WIN
    VariantFreeCopy copy;
    const QSettings store(copy.prepare(where, name) ? copy.fileName() : where, storeFormat());
#else
    const QSettings store(where, storeFormat());
#endif
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
