// The help window of the start menu: a short Italian text, modal.
#pragma once

#include <QDialog>

class Help_intro : public QDialog {
    Q_OBJECT
public:
    explicit Help_intro(QWidget* padre = nullptr);
};
