#pragma once

#include "TestEnvironment.h"
#include "app/Program.h"
#include "app/TFMain.h"
#include "archive/TFDB.h"
#include "drafts/TFBozze.h"

#include <QApplication>

namespace quillio::test {

// A started program with the given customers (name, street, town) and the draft window open.
struct DraftFixture
{
    TestEnvironment env;
    app::Program program;
    drafts::TFBozze& window = program.bozze();
    engine::Table& drafts = program.db().T_Bozze;
    engine::Table& customers = program.db().T_Rubrica;

    explicit DraftFixture(std::initializer_list<QStringList> customerRows = {})
    {
        program.showMainWindow();
        customers.open();
        for (const QStringList& row : customerRows) {
            customers.append();
            customers.setFieldValue("Ragione_Sociale", row.value(0));
            customers.setFieldValue("Via", row.value(1));
            customers.setFieldValue("Citta", row.value(2));
            customers.setFieldValue("Cap", row.value(3));
            customers.post();
        }
        customers.close();
        env.transcript.clear();
        program.main().openDrafts();
        QApplication::setActiveWindow(&window);
    }
};

} // namespace quillio::test
