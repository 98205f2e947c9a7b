#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "config/SettingsError.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QTest>

using namespace quillio;
using config::SettingsStore;
namespace Key = config::SettingsKey;

class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    void writeRawFile(const QString& path, const QByteArray& content)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void missingKeyReadsEmpty()
    {
        test::TestEnvironment env;
        for (const QString& name : {Key::conf, Key::pathPrg, Key::anno, Key::dbFatture})
            QCOMPARE(SettingsStore::LeggiReg(Key::path, name), QString());
        QVERIFY(!QFile::exists(env.paths.settingsFile()));
    }

    void writtenTextReadsBack_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "OK";
        QTest::newRow("path with separator") << "/home/anna/Quillio/";
        QTest::newRow("backslashes") << "C:\\Programmi\\Quillio\\";
        QTest::newRow("blanks kept") << "  2009 ";
        QTest::newRow("comma") << "Rossi, Bianchi";
        QTest::newRow("accents") << "Società Città";
        QTest::newRow("empty") << "";
    }
    void writtenTextReadsBack()
    {
        QFETCH(QString, value);
        test::TestEnvironment env;
        SettingsStore::ScriviReg(Key::path, Key::anno, value);
        QCOMPARE(SettingsStore::LeggiReg(Key::path, Key::anno), value);
        QCOMPARE(SettingsStore::location(Key::path), env.paths.settingsFile());
    }

    void textIsCutAtNul()
    {
        test::TestEnvironment env;
        SettingsStore::ScriviReg(Key::path, Key::anno, QString::fromUtf16(u"20\u000009", 5));
        QCOMPARE(SettingsStore::LeggiReg(Key::path, Key::anno), QStringLiteral("20"));
    }

    void everyReadSeesTheStoreAsItIsNow()
    {
        test::TestEnvironment env;
        SettingsStore::ScriviReg(Key::path, Key::anno, QStringLiteral("2009"));
        QCOMPARE(SettingsStore::LeggiReg(Key::path, Key::anno), QStringLiteral("2009"));
        {
            QSettings other(env.paths.settingsFile(), QSettings::IniFormat);
            other.setValue(Key::anno, QStringLiteral("2010 bis"));
        }
        QCOMPARE(SettingsStore::LeggiReg(Key::path, Key::anno), QStringLiteral("2010 bis"));
    }

    void valueThatIsNotTextIsRefused_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("list") << QByteArray("Anno=2009, 2010\n");
        QTest::newRow("byte array") << QByteArray("Anno=@ByteArray(2009)\n");
        QTest::newRow("number variant") << QByteArray("Anno=@Variant(\\0\\0\\0\\x2\\0\\0\\a\\xd9)\n");
        // A damaged list that claims billions of elements: refused, never handed to the reader.
        QTest::newRow("list claiming a huge length")
            << QByteArray("Anno=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10QStringList\\0\\0\\0"
                          "\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6\xd6"
                          "\xd6\xd6\xd6\xd6\xd6\xd6\xd6"
                          "0\\x1)\n");
    }
    void valueThatIsNotTextIsRefused()
    {
        QFETCH(QByteArray, line);
        test::TestEnvironment env;
        writeRawFile(env.paths.settingsFile(), "[General]\nConf=OK\n" + line);
        QCOMPARE(SettingsStore::LeggiReg(Key::path, Key::conf), QStringLiteral("OK"));
        try {
            SettingsStore::LeggiReg(Key::path, Key::anno);
            QFAIL("a value that is not text was read");
        } catch (const config::SettingsError& error) {
            QCOMPARE(error.text(), QStringLiteral("Invalid data type for 'Anno'"));
        }
    }

    // The settings folder is a plain file: nothing can be stored below it, whatever the rights.
    void refusedWriteRaisesAnErrorNamingTheValue()
    {
        test::TestEnvironment env;
        writeRawFile(env.paths.settingsRoot() + QStringLiteral("/ORVALDA"), "not a folder");
        try {
            SettingsStore::ScriviReg(Key::path, Key::conf, QStringLiteral("OK"));
            QFAIL("a refused write went unnoticed");
        } catch (const config::SettingsError& error) {
            QVERIFY2(error.text().contains(QStringLiteral("'Conf'")), qPrintable(error.text()));
        }
        QCOMPARE(SettingsStore::LeggiReg(Key::path, Key::conf), QString());
    }

    void readOnlySettingsFileRefusesTheWrite()
    {
        test::TestEnvironment env;
        SettingsStore::ScriviReg(Key::path, Key::anno, QStringLiteral("2009"));
        QFile::setPermissions(env.paths.settingsFile(), QFile::ReadOwner);
        if (QFileInfo(env.paths.settingsFile()).isWritable())
            QSKIP("running with rights that ignore file permissions");
        QVERIFY_THROWS_EXCEPTION(config::SettingsError,
                                 SettingsStore::ScriviReg(Key::path, Key::anno, QStringLiteral("2010")));
        QCOMPARE(SettingsStore::LeggiReg(Key::path, Key::anno), QStringLiteral("2009"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
