#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "archive/ArchiveSequences.h"
#include "archive/TFConf.h"
#include "archive/TFDB.h"
#include "archive/TableSchemas.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "engine/EngineError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTest>

using namespace quillio;
using archive::ArchiveSequences;
using archive::TFDB;
using engine::FieldType;
namespace Key = config::SettingsKey;

namespace {

// The column lists exactly as the table files of earlier archives were created with.
const QString customerColumns = QStringLiteral(
    "( OrdNum AUTOINC, Tipo CHAR(60), Ragione_Sociale CHAR(60), Via CHAR(60), Citta CHAR(40), Cap CHAR(5), "
    "PIva CHAR(11), CF CHAR(16), Telefono CHAR(100), Fax CHAR(100), Cellulare CHAR(100), EMail CHAR(100), "
    "Sito CHAR(100), Riferimento CHAR(100), Note BLOB(1,1) )");
const QString bodyColumns = QStringLiteral(
    "CodRif NUMERIC, Ragione_Sociale CHAR(60), Via CHAR(60), Citta CHAR(40), Cap CHAR(5), PIva CHAR(11), "
    "CF CHAR(16), Testo1 CHAR(100), Testo2 CHAR(100), Desc01 CHAR(100), Costo01 NUMERIC, Desc02 CHAR(100), "
    "Costo02 NUMERIC, Desc03 CHAR(100), Costo03 NUMERIC, Desc04 CHAR(100), Costo04 NUMERIC, Desc05 "
    "CHAR(100), "
    "Costo05 NUMERIC, Desc06 CHAR(100), Costo06 NUMERIC, Desc07 CHAR(100), Costo07 NUMERIC, Desc08 "
    "CHAR(100), "
    "Costo08 NUMERIC, Desc09 CHAR(100), Costo09 NUMERIC, Desc10 CHAR(100), Costo10 NUMERIC, Desc11 "
    "CHAR(100), "
    "Costo11 NUMERIC, Desc12 CHAR(100), Costo12 NUMERIC, Desc13 CHAR(100), Costo13 NUMERIC, Desc14 "
    "CHAR(100), "
    "Costo14 NUMERIC, Desc15 CHAR(100), Costo15 NUMERIC, Desc16 CHAR(100), Costo16 NUMERIC, Desc17 "
    "CHAR(100), "
    "Costo17 NUMERIC, Desc18 CHAR(100), Costo18 NUMERIC, Desc19 CHAR(100), Costo19 NUMERIC, Desc20 "
    "CHAR(100), "
    "Costo20 NUMERIC, TotAut Boolean, Totale NUMERIC, Iva NUMERIC, Totale_Iva NUMERIC, Totale_Fattura "
    "NUMERIC, "
    "Condizioni BLOB(1,1), Note BLOB(1,1) )");

// Settings of a complete installation whose year directory is `year` under the program directory.
QString prepareYear(test::TestEnvironment& env, TFDB& db)
{
    const QString program = env.paths.programDir();
    QString year = program + QStringLiteral("2009/");
    QDir().mkpath(year);
    const std::pair<QString, QString> values[] = {
        {Key::conf, "OK"},           {Key::pathPrg, program},        {Key::pathTemp, program},
        {Key::pathDatiGen, program}, {Key::aliasDb, "QUILDB09"},     {Key::anno, "2009"},
        {Key::dbBozze, "Bozze.DB"},  {Key::dbFatture, "Fatture.DB"}, {Key::dbRubrica, "Rubrica.DB"},
    };
    for (const auto& [name, value] : values)
        config::SettingsStore::ScriviReg(Key::path, name, value);
    db.Session1.addStandardAlias(QStringLiteral("QUILDB09"), year);
    return year;
}

QByteArray digest(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestArchive : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void columnListsAreThoseOfTheArchive()
    {
        QCOMPARE(archive::TableSchemas::customers(), customerColumns);
        QCOMPARE(archive::TableSchemas::drafts(), QStringLiteral("( OrdNum AUTOINC, ") + bodyColumns);
        QCOMPARE(archive::TableSchemas::invoices(),
                 QStringLiteral("( OrdNum AUTOINC, Numero CHAR(20), Stato CHAR(50), Data DATE, ") +
                     bodyColumns);
    }

    void createdTableIsEmptyWithItsColumnsInOrder()
    {
        test::TestEnvironment env;
        TFDB db;
        prepareYear(env, db);
        archive::TFConf::CreaTabella(db, QStringLiteral("QUILDB09"), QStringLiteral("Fatture.DB"),
                                     archive::TableSchemas::invoices());
        QCOMPARE(env.transcript.texts(), QStringList{"Archivio Fatture.DB Creato"});
        QCOMPARE(db.QGEN.sql(), QStringList{QStringLiteral("CREATE TABLE \"Fatture.DB\" ") +
                                            archive::TableSchemas::invoices()});
        QVERIFY(!db.QGEN.isActive());

        ArchiveSequences::rebind(db);
        db.T_Fatture.open();
        QVERIFY(db.T_Fatture.isEmpty());
        const engine::FieldDefs& fields = db.T_Fatture.fields();
        QCOMPARE(fields.size(), 4 + 9 + 40 + 7);
        QCOMPARE(fields[0], (engine::FieldDef{"OrdNum", FieldType::AutoInc, 0}));
        QCOMPARE(fields[1], (engine::FieldDef{"Numero", FieldType::Char, 20}));
        QCOMPARE(fields[3], (engine::FieldDef{"Data", FieldType::Date, 0}));
        QCOMPARE(fields[4], (engine::FieldDef{"CodRif", FieldType::Numeric, 0}));
        QCOMPARE(fields[13], (engine::FieldDef{"Desc01", FieldType::Char, 100}));
        QCOMPARE(fields[14], (engine::FieldDef{"Costo01", FieldType::Numeric, 0}));
        QCOMPARE(fields[52], (engine::FieldDef{"Costo20", FieldType::Numeric, 0}));
        QCOMPARE(fields[53], (engine::FieldDef{"TotAut", FieldType::Boolean, 0}));
        QCOMPARE(fields.last(), (engine::FieldDef{"Note", FieldType::Memo, 0}));
    }

    void creatingOverAnExistingFileFailsAndKeepsIt()
    {
        test::TestEnvironment env;
        TFDB db;
        const QString year = prepareYear(env, db);
        QFile existing(year + QStringLiteral("Rubrica.DB"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("precious bytes that are not a table");
        existing.close();
        const QByteArray before = digest(existing.fileName());
        QVERIFY_THROWS_EXCEPTION(engine::EngineError,
                                 archive::TFConf::CreaTabella(db, QStringLiteral("QUILDB09"),
                                                              QStringLiteral("Rubrica.DB"),
                                                              archive::TableSchemas::customers()));
        QCOMPARE(env.transcript.texts(), QStringList());
        QCOMPARE(digest(existing.fileName()), before);
    }

    void otherCapitalsReachTheSameColumns_data()
    {
        QTest::addColumn<QString>("asWritten");
        QTest::addColumn<QString>("declared");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("PIVA") << "PIVA"
                              << "PIva" << QVariant(QStringLiteral("01234567890"));
        QTest::newRow("CAP") << "CAP"
                             << "Cap" << QVariant(QStringLiteral("20100"));
        QTest::newRow("IVA") << "IVA"
                             << "Iva" << QVariant(22.0);
        QTest::newRow("Totale_IVA") << "Totale_IVA"
                                    << "Totale_Iva" << QVariant(4.4);
        QTest::newRow("Totale_FAttura") << "Totale_FAttura"
                                        << "Totale_Fattura" << QVariant(24.4);
    }
    void otherCapitalsReachTheSameColumns()
    {
        QFETCH(QString, asWritten);
        QFETCH(QString, declared);
        QFETCH(QVariant, value);
        test::TestEnvironment env;
        TFDB db;
        prepareYear(env, db);
        archive::TFConf::CreaTabella(db, "QUILDB09", "Bozze.DB", archive::TableSchemas::drafts());
        ArchiveSequences::rebind(db);
        db.T_Bozze.open();
        db.T_Bozze.append();
        db.T_Bozze.setFieldValue(asWritten, value);
        db.T_Bozze.post();
        db.T_Bozze.close();
        db.T_Bozze.open();
        QCOMPARE(db.T_Bozze.fieldValue(declared), value);
        QCOMPARE(db.T_Bozze.fieldValue(asWritten.toLower()), value);
    }

    void emailColumnAnswersToEmail()
    {
        test::TestEnvironment env;
        TFDB db;
        prepareYear(env, db);
        archive::TFConf::CreaTabella(db, "QUILDB09", "Rubrica.DB", archive::TableSchemas::customers());
        ArchiveSequences::rebind(db);
        db.T_Rubrica.open();
        db.T_Rubrica.append();
        db.T_Rubrica.setFieldValue(QStringLiteral("Email"), QStringLiteral("anna@example.it"));
        db.T_Rubrica.post();
        QCOMPARE(db.T_Rubrica.fieldValue(QStringLiteral("EMail")).toString(),
                 QStringLiteral("anna@example.it"));
    }

    void missingTableCheckCreatesOnlyWhatIsMissing()
    {
        test::TestEnvironment env;
        TFDB db;
        const QString year = prepareYear(env, db);
        QVERIFY(ArchiveSequences::missingTableCheck(db, year));
        QCOMPARE(env.transcript.texts().size(), 6);
        env.transcript.clear();

        QVERIFY(!ArchiveSequences::missingTableCheck(db, year));
        QCOMPARE(env.transcript.texts(), QStringList());

        QVERIFY(QFile::remove(year + QStringLiteral("Bozze.DB")));
        QVERIFY(ArchiveSequences::missingTableCheck(db, year));
        QCOMPARE(env.transcript.texts(), (QStringList{"Archivio Bozze - Assente - Premere OK per Crearlo",
                                                      "Archivio Bozze.DB Creato"}));
    }

    void rebindingFollowsTheSettingsAndLeavesTablesClosed()
    {
        test::TestEnvironment env;
        TFDB db;
        prepareYear(env, db);
        ArchiveSequences::missingTableCheck(db, env.paths.programDir() + "2009/");
        ArchiveSequences::rebind(db);
        db.T_Rubrica.open();
        config::SettingsStore::ScriviReg(Key::path, Key::aliasDb, QStringLiteral("ALTRO"));
        config::SettingsStore::ScriviReg(Key::path, Key::dbBozze, QStringLiteral("B2.DB"));
        ArchiveSequences::rebind(db);
        QVERIFY(!db.T_Rubrica.isActive());
        for (engine::Dataset* dataset :
             std::initializer_list<engine::Dataset*>{&db.QGEN, &db.T_Rubrica, &db.T_Bozze, &db.T_Fatture})
            QCOMPARE(dataset->databaseName(), QStringLiteral("ALTRO"));
        QCOMPARE(db.T_Bozze.tableName(), QStringLiteral("B2.DB"));
        QCOMPARE(db.T_Rubrica.tableName(), QStringLiteral("Rubrica.DB"));
    }
};

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
