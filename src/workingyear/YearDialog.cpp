#include "workingyear/YearDialog.h"

#include "config/Settings.h"
#include "config/SettingsKey.h"
#include "config/SettingsStore.h"
#include "platform/DefaultErrorHandler.h"
#include "widgets/NamedButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace quillio::workingyear {

namespace {

const QColor headingColour(166, 202, 240);

void paint(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

void makeBold(QWidget* widget)
{
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

} // namespace

YearDialog::YearDialog(const QString& name, const QString& caption, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(name);
    setWindowTitle(caption);
    paint(this, Qt::white);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 14);
    layout->setSpacing(12);
    buildHeading();
    buildYearField();
    buildButtons();
    setFixedSize(QSize(260, sizeHint().height()));
}

void YearDialog::buildHeading()
{
    StaticText1 = new QLabel(QStringLiteral("Anno di Lavoro"), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setAccessibleName(StaticText1->text());
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticText1->setLineWidth(2);
    StaticText1->setMinimumHeight(28);
    paint(StaticText1, headingColour);
    makeBold(StaticText1);
    layout()->addWidget(StaticText1);
}

void YearDialog::buildYearField()
{
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(StaticText1->text());
    Edit1->setAlignment(Qt::AlignCenter);
    makeBold(Edit1);
    StaticText1->setBuddy(Edit1);
    layout()->addWidget(Edit1);
}

void YearDialog::buildButtons()
{
    BT_Conferma =
        widgets::NamedButton::make(QStringLiteral("BT_Conferma"), QStringLiteral("&Conferma"), this);
    BT_Annulla = widgets::NamedButton::make(QStringLiteral("BT_Annulla"), QStringLiteral("&Annulla"), this);
    // Enter in the year field confirms; without a default Qt would click whichever button it liked.
    BT_Conferma->setDefault(true);
    connect(BT_Conferma, &QPushButton::clicked, this, &YearDialog::BT_ConfermaClick);
    connect(BT_Annulla, &QPushButton::clicked, this, &YearDialog::BT_AnnullaClick);
    auto* row = new QHBoxLayout;
    row->addWidget(BT_Conferma);
    row->addWidget(BT_Annulla);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

// The dialog keeps nothing between showings: it always opens on the stored year.
void YearDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    DefaultErrorHandler::run([this] { Edit1->setText(config::Settings::workingYear()); });
    Edit1->selectAll();
    Edit1->setFocus();
}

void YearDialog::BT_ConfermaClick()
{
    if (!m_db)
        return;
    bool completed = false;
    DefaultErrorHandler::run([this, &completed] {
        WorkingYear year(*m_db, m_showYear);
        completed = confirm(year, Edit1->text());
    });
    if (completed)
        accept();
}

void YearDialog::BT_AnnullaClick()
{
    reject();
}

} // namespace quillio::workingyear
