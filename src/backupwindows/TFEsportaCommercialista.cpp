#include "backupwindows/TFEsportaCommercialista.h"

#include "accountant/AccountantExport.h"
#include "accountant/RegisterReport.h"
#include "config/Settings.h"
#include "platform/DefaultErrorHandler.h"
#include "platform/Platform.h"
#include "widgets/NamedButton.h"
#include "widgets/ValueLabel.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quillio::backupwindows {

namespace {

QComboBox* monthChoice(const QString& name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (int month = 1; month <= 12; ++month)
        box->addItem(accountant::RegisterReport::monthName(month), month);
    return box;
}

template <typename Widget> Widget* named(Widget* widget, const QString& accessibleName)
{
    widget->setAccessibleName(accessibleName);
    return widget;
}

} // namespace

TFEsportaCommercialista::TFEsportaCommercialista(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFEsportaCommercialista"));
    setWindowTitle(QStringLiteral("Esporta per il commercialista"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    SE_Anno = named(new QSpinBox(this), QStringLiteral("Anno"));
    SE_Anno->setObjectName(QStringLiteral("SE_Anno"));
    SE_Anno->setRange(1900, 9999);
    form->addRow(QStringLiteral("&Anno"), SE_Anno);
    CB_DalMese = named(monthChoice(QStringLiteral("CB_DalMese"), this), QStringLiteral("Dal mese"));
    CB_AlMese = named(monthChoice(QStringLiteral("CB_AlMese"), this), QStringLiteral("Al mese"));
    CB_AlMese->setCurrentIndex(11);
    form->addRow(QStringLiteral("&Dal mese"), CB_DalMese);
    form->addRow(QStringLiteral("A&l mese"), CB_AlMese);
    ED_Cartella = named(new QLineEdit(this), QStringLiteral("Cartella"));
    ED_Cartella->setObjectName(QStringLiteral("ED_Cartella"));
    BT_Cartella = widgets::NamedButton::make(QStringLiteral("BT_Cartella"), QStringLiteral("&Scegli…"), this);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(ED_Cartella, 1);
    folderRow->addWidget(BT_Cartella);
    form->addRow(QStringLiteral("Cartella"), folderRow);
    layout->addLayout(form);

    LB_Esito = new widgets::ValueLabel(QStringLiteral("Esito"), {}, this);
    LB_Esito->setObjectName(QStringLiteral("LB_Esito"));
    LB_Esito->setWordWrap(true);
    layout->addWidget(LB_Esito);
    auto* caption = new QLabel(QStringLiteral("Da &verificare"), this);
    LB_Segnalazioni = named(new QListWidget(this), QStringLiteral("Da verificare"));
    LB_Segnalazioni->setObjectName(QStringLiteral("LB_Segnalazioni"));
    caption->setBuddy(LB_Segnalazioni);
    layout->addWidget(caption);
    layout->addWidget(LB_Segnalazioni, 1);

    BT_Esporta = widgets::NamedButton::make(QStringLiteral("BT_Esporta"), QStringLiteral("&Esporta"), this);
    BT_Chiudi = widgets::NamedButton::make(QStringLiteral("BT_Chiudi"), QStringLiteral("C&hiudi"), this);
    BT_Esporta->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BT_Esporta);
    buttons->addWidget(BT_Chiudi);
    layout->addLayout(buttons);
    connect(BT_Cartella, &QPushButton::clicked, this,
            [this] { DefaultErrorHandler::run([this] { chooseFolder(); }); });
    connect(BT_Esporta, &QPushButton::clicked, this,
            [this] { DefaultErrorHandler::run([this] { exportPeriod(); }); });
    connect(BT_Chiudi, &QPushButton::clicked, this, &QDialog::accept);
    resize(620, 460);
}

void TFEsportaCommercialista::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    SE_Anno->setValue(config::Settings::workingYear().toInt());
}

void TFEsportaCommercialista::chooseFolder()
{
    const QString chosen =
        Platform::files().folder(this, QStringLiteral("Cartella per il commercialista"), ED_Cartella->text());
    if (!chosen.isEmpty())
        ED_Cartella->setText(QDir::toNativeSeparators(chosen));
}

void TFEsportaCommercialista::exportPeriod()
{
    if (ED_Cartella->text().isEmpty())
        chooseFolder();
    if (ED_Cartella->text().isEmpty())
        return;
    const accountant::RegisterPeriod period{SE_Anno->value(), CB_DalMese->currentData().toInt(),
                                            CB_AlMese->currentData().toInt()};
    if (const QString problem = period.problem(); !problem.isEmpty()) {
        Platform::messages().message(problem);
        return;
    }
    const accountant::AccountantExport::Result result =
        accountant::AccountantExport::run(period, QDir::fromNativeSeparators(ED_Cartella->text()));
    LB_Segnalazioni->clear();
    for (const accountant::RegisterOddity& oddity : result.oddities)
        LB_Segnalazioni->addItem(oddity.text);
    if (result.oddities.isEmpty())
        LB_Segnalazioni->addItem(QStringLiteral("Nessuna segnalazione."));
    QStringList names;
    for (const QString& path : result.written)
        names << QFileInfo(path).fileName();
    LB_Esito->setValue(QStringLiteral("%1 fatture esportate: %2")
                           .arg(result.invoices)
                           .arg(names.join(QStringLiteral(", "))));
    Platform::messages().message(
        QStringLiteral("Esportazione per il commercialista completata (%1 fatture, %2 da "
                       "verificare):\n%3")
            .arg(result.invoices)
            .arg(result.oddities.size())
            .arg(result.written.join(u'\n')));
}

} // namespace quillio::backupwindows
