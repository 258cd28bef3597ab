// A check box with the three values the forms and the data store use:
// 0 not ticked, 1 ticked, 2 greyed. The user's click goes from greyed or
// not ticked to ticked and from ticked to not ticked; code may set any value.
#pragma once

#include <QCheckBox>

class CasellaSpunta : public QCheckBox {
    Q_OBJECT
public:
    explicit CasellaSpunta(QWidget* padre = nullptr);
    explicit CasellaSpunta(const QString& testo, QWidget* padre = nullptr);

    int valore() const;
    // Values other than 0, 1, 2 are taken as 0.
    void imposta_valore(int valore);

signals:
    // Every change of value, by the user or by code (the box's click
    // handling of the forms).
    void valore_cambiato(int valore);

protected:
    void nextCheckState() override;
};
