#pragma once

#include <QDialog>

class QPushButton;

namespace quillio::app {

// The About box: the banner, the version, a credit line and two pictures.
class TFF_About : public QDialog
{
    Q_OBJECT

public:
    explicit TFF_About(QWidget* parent = nullptr);
    QPushButton* OKButton = nullptr;
};

} // namespace quillio::app
