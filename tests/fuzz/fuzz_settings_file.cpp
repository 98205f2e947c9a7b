// The settings file, as any editor or a broken disk may have left it: every value the program
// reads comes back as text, or as SettingsError; nothing else may happen.

#include "FuzzSupport.h"
#include "config/SettingsError.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "platform/Paths.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <new>

using namespace quillio;
using namespace quillio::config;

namespace {

class ScratchPaths : public Paths
{
public:
    QString programDir() const override { return quillio::fuzz::scratchDirectory() + QLatin1Char('/'); }
    QString settingsRoot() const override { return quillio::fuzz::scratchDirectory(); }
};

const QStringList& valueNames()
{
    static const QStringList names{SettingsKey::conf,        SettingsKey::pathPrg, SettingsKey::pathTemp,
                                   SettingsKey::pathDatiGen, SettingsKey::aliasDb, SettingsKey::anno,
                                   SettingsKey::dbRubrica,   SettingsKey::dbBozze, SettingsKey::dbFatture};
    return names;
}

void writeSettingsFile(const QByteArray& content)
{
    const QString path = SettingsStore::location(SettingsKey::path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        quillio::fuzz::fail("cannot write the settings file");
    file.write(content);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    quillio::fuzz::ensureApplication();
    static const ScratchPaths paths;
    Platform::setPaths(&paths);
    writeSettingsFile(quillio::fuzz::bytes(data, size));
    for (const QString& name : valueNames()) {
        try {
            const QString value = SettingsStore::LeggiReg(SettingsKey::path, name);
            if (value.contains(QChar(u'\0')))
                quillio::fuzz::fail("a value kept a NUL character");
        } catch (const SettingsError&) {
        }
    }
    return 0;
}
