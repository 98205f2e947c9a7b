#include "AccessibleText.h"
#include "TestEnvironment.h"
#include "UnexpectedWarnings.h"
#include "YearArchive.h"
#include "app/Program.h"
#include "app/TFMain.h"
#include "archive/TFDB.h"
#include "customers/TFRubrica.h"
#include "dbcontrols/DBGrid.h"
#include "dbcontrols/QueryTableModel.h"
#include "widgets/ValueLabel.h"
#include "workingyear/TFCambioAnno.h"
#include "workingyear/TFCreaArchivio.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace quillio;
namespace YearArchive = test::YearArchive;

namespace {

// The names the address book lists, opened from the main window and then put away.
QStringList listedCustomers(app::Program& program)
{
    program.main().openAddressBook();
    customers::TFRubrica& rubrica = program.rubrica();
    if (!rubrica.isVisible())
        return {QStringLiteral("<address book not shown>")};
    QStringList names;
    const auto* model = rubrica.DBGrid1->queryModel();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    rubrica.hide();
    return names;
}

// Types the year over the one the dialog opened on and confirms; returns the year it opened on.
QString confirmYear(workingyear::YearDialog& dialog, const QString& year)
{
    if (!dialog.isVisible())
        return QStringLiteral("<dialog not shown>");
    QString shown = dialog.Edit1->text();
    dialog.Edit1->setText(year);
    QTest::mouseClick(dialog.BT_Conferma, Qt::LeftButton);
    return shown;
}

} // namespace

// The dialogs as the main window opens them: the whole program follows the chosen year, and so
// does the next start.
class TestWorkingYearProgram : public QObject
{
    Q_OBJECT

private slots:
    void init() { quillio::test::failOnUnexpectedWarnings(); }
    void theWholeProgramFollowsTheWorkingYear()
    {
        test::TestEnvironment env;
        {
            app::Program program;
            program.showMainWindow();
            widgets::ValueLabel* year = program.main().StaticText1;
            QCOMPARE(test::accessibleText(year), QStringLiteral("2009"));
            QCOMPARE(test::accessibleText(year, QAccessible::Description), QStringLiteral("Anno di lavoro"));
            YearArchive::make(QStringLiteral("2010"), YearArchive::allTables,
                              {"Rossi Arredamenti", "Bianchi Giovanni"});
            env.transcript.clear();

            program.main().changeWorkingYear();
            QCOMPARE(confirmYear(program.cambioAnno(), QStringLiteral("2010")), QStringLiteral("2009"));
            QVERIFY(!program.cambioAnno().isVisible());
            QCOMPARE(program.main().StaticText1->text(), QStringLiteral("2010"));
            QCOMPARE(test::accessibleText(year), QStringLiteral("2010"));
            QCOMPARE(listedCustomers(program), (QStringList{"Bianchi Giovanni", "Rossi Arredamenti"}));
            QCOMPARE(env.transcript.texts(), QStringList());

            program.main().createNewArchive();
            QCOMPARE(confirmYear(program.creaArchivio(), QStringLiteral("2011")), QStringLiteral("2010"));
            QVERIFY(!program.creaArchivio().isVisible());
            QCOMPARE(program.main().StaticText1->text(), QStringLiteral("2011"));
            QCOMPARE(test::accessibleText(year), QStringLiteral("2011"));
            QCOMPARE(listedCustomers(program), QStringList());
            QCOMPARE(env.transcript.texts().size(), 6);
        }
        env.transcript.clear();

        app::Program restarted;
        restarted.showMainWindow();
        QCOMPARE(env.transcript.texts(), QStringList());
        QCOMPARE(restarted.main().StaticText1->text(), QStringLiteral("2011"));
        QCOMPARE(restarted.db().Session1.aliasPath(QStringLiteral("QUILDB09")),
                 YearArchive::directory(QStringLiteral("2011")));
    }
};

QTEST_MAIN(TestWorkingYearProgram)
#include "tst_workingyear_program.moc"
