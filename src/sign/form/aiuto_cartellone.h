// The sign form's help window: four notes on filling in the sign.
#pragma once

#include <QDialog>

class Help_cartellone : public QDialog {
    Q_OBJECT
public:
    explicit Help_cartellone(QWidget* padre = nullptr);
};
