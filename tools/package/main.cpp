// Starts the program on the tree it is run from, as a person would meet a system-wide
// installation, with nobody at the screen: every message is recorded, the home is a temporary
// directory, the program's own directory counts as read-only. Then stores one invoice and prints
// it through the print command to a PDF file.
//   quillio-installcheck OUTPUT.pdf
// Copied beside an unpacked package's bin/quillio, it shows that the package's files are found
// from there. Prints what it used ("layout", "data", each message) and exits non-zero on an error.
#include "InstalledTree.h"
#include "ScriptedOutputChooser.h"
#include "TestEnvironment.h"
#include "app/Program.h"
#include "archive/TFDB.h"
#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "invoices/InvoicePrintParameters.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

using namespace quillio;

namespace {

QString setting(const QString& name)
{
    return config::Settings::value(name);
}

void storeInvoice(engine::Table& invoices)
{
    invoices.open();
    invoices.append();
    invoices.setFieldValue(QStringLiteral("Data"), QDate(2009, 3, 16));
    invoices.setFieldValue(QStringLiteral("Ragione_Sociale"), QStringLiteral("Prova Installazione S.r.l."));
    invoices.setFieldValue(QStringLiteral("Desc01"), QStringLiteral("Verifica del pacchetto"));
    invoices.setFieldValue(QStringLiteral("Costo01"), 100.0);
    invoices.setFieldValue(QStringLiteral("Totale"), 100.0);
    invoices.setFieldValue(QStringLiteral("Totale_Fattura"), 100.0);
    invoices.post();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QTextStream out(stdout);
    if (argc != 2) {
        out << "usage: quillio-installcheck OUTPUT.pdf\n";
        return 2;
    }
    const QString pdf = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();

    test::TestEnvironment env;
    const tools::InstalledTree tree(env.paths.root());
    Platform::setPaths(&tree);
    env.files.answer = pdf;
    report::test::ScriptedOutputChooser chooser;
    chooser.answers = {report::test::ScriptedOutputChooser::to(report::Destination::File)};

    {
        app::Program program;
        program.showMainWindow();
        storeInvoice(program.db().T_Fatture);
        invoices::InvoicePrintParameters::print(program.reportProject(), program.db().T_Fatture);
    }

    out << "program " << setting(config::SettingsKey::pathPrg) << '\n';
    out << "data " << setting(config::SettingsKey::pathDatiGen) << '\n';
    out << "layout " << invoices::InvoicePrintParameters::layoutPath(setting(config::SettingsKey::pathPrg))
        << '\n';
    for (const test::Transcript::Entry& entry : env.transcript.entries())
        out << (entry.kind == test::Transcript::Kind::Error ? "error " : "said ") << entry.text << '\n';
    Platform::setPaths(&env.paths);
    const bool failed =
        !env.transcript.texts(test::Transcript::Kind::Error).isEmpty() || !QFileInfo(pdf).isFile();
    out << (failed ? "FAILED\n" : "printed " + pdf + '\n');
    return failed ? 1 : 0;
}
