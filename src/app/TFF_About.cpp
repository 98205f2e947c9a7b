#include "app/TFF_About.h"

#include "ProgramVersion.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillio::app {

namespace {

QLabel* picture(const QString& path, QSize size, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAccessibleName(name);
    label->setPixmap(QIcon(path).pixmap(size));
    label->setFixedSize(size);
    return label;
}

} // namespace

TFF_About::TFF_About(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FF_About"));
    setWindowTitle(QStringLiteral("About"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(10);

    QLabel* banner = picture(QStringLiteral(":/banner.svg"), QSize(217, 97), QStringLiteral("Image1"), this);
    auto* version = new QLabel(ProgramVersion::shown(), banner);
    version->setObjectName(QStringLiteral("Label1"));
    version->setAlignment(Qt::AlignCenter);
    version->setStyleSheet(
        QStringLiteral("color: rgb(0, 0, 255); font-weight: bold; background: transparent;"));
    version->setGeometry(0, 97 - 20, 217, 18);
    layout->addWidget(banner, 0, Qt::AlignHCenter);

    auto* credit = new QLabel(QStringLiteral("Fatturazione per la piccola impresa.\n"
                                             "Scritto dagli sviluppatori di Quillio."),
                              this);
    credit->setObjectName(QStringLiteral("Label2"));
    credit->setAlignment(Qt::AlignCenter);
    layout->addWidget(credit);

    auto* pictures = new QHBoxLayout;
    pictures->addStretch();
    pictures->addWidget(
        picture(QStringLiteral(":/about1.svg"), QSize(131, 44), QStringLiteral("Image2"), this));
    pictures->addSpacing(12);
    pictures->addWidget(
        picture(QStringLiteral(":/about2.svg"), QSize(131, 44), QStringLiteral("Image3"), this));
    pictures->addStretch();
    layout->addLayout(pictures);

    OKButton = new QPushButton(QStringLiteral("&OK"), this);
    OKButton->setObjectName(QStringLiteral("BitBtn1"));
    OKButton->setAccessibleName(QStringLiteral("OK"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);
    setFixedSize(sizeHint());
}

} // namespace quillio::app
