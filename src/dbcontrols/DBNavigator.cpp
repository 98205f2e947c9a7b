#include "dbcontrols/DBNavigator.h"

#include "engine/DataSource.h"
#include "engine/Dataset.h"
#include "platform/DefaultErrorHandler.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QToolButton>

namespace quillio::dbcontrols {

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DBNavigator1"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    firstButton =
        addButton(QStringLiteral("Primo"), QStringLiteral(":/icons/primo.svg"), &DBNavigator::moveFirst);
    priorButton = addButton(QStringLiteral("Precedente"), QStringLiteral(":/icons/precedente.svg"),
                            &DBNavigator::movePrior);
    nextButton = addButton(QStringLiteral("Successivo"), QStringLiteral(":/icons/successivo.svg"),
                           &DBNavigator::moveNext);
    lastButton =
        addButton(QStringLiteral("Ultimo"), QStringLiteral(":/icons/ultimo.svg"), &DBNavigator::moveLast);
    updateButtons();
}

QToolButton* DBNavigator::addButton(const QString& name, const QString& icon, void (DBNavigator::*step)())
{
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setAccessibleName(name);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(30, 28);
    button->setFocusPolicy(Qt::NoFocus);
    layout()->addWidget(button);
    connect(button, &QToolButton::clicked, this, step);
    return button;
}

void DBNavigator::bind(engine::DataSource* source)
{
    m_source = source;
    if (source) {
        connect(&source->dataset(), &engine::Dataset::recordChanged, this, &DBNavigator::updateButtons);
        connect(&source->dataset(), &engine::Dataset::stateChanged, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::moveFirst()
{
    DefaultErrorHandler::run([this] { m_source->dataset().first(); });
}

void DBNavigator::movePrior()
{
    DefaultErrorHandler::run([this] { m_source->dataset().prior(); });
}

void DBNavigator::moveNext()
{
    DefaultErrorHandler::run([this] { m_source->dataset().next(); });
}

void DBNavigator::moveLast()
{
    DefaultErrorHandler::run([this] { m_source->dataset().last(); });
}

void DBNavigator::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        updateButtons();
}

// At the first record there is nothing before it, at the last nothing after it.
void DBNavigator::updateButtons()
{
    const engine::Dataset* dataset = m_source ? &m_source->dataset() : nullptr;
    const bool usable = dataset && dataset->isActive() && !dataset->isEmpty();
    firstButton->setEnabled(usable && !dataset->bof());
    priorButton->setEnabled(usable && !dataset->bof());
    nextButton->setEnabled(usable && !dataset->eof());
    lastButton->setEnabled(usable && !dataset->eof());
}

} // namespace quillio::dbcontrols
