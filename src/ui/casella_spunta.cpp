#include "ui/casella_spunta.h"

CasellaSpunta::CasellaSpunta(QWidget* padre) : CasellaSpunta(QString(), padre) {}

CasellaSpunta::CasellaSpunta(const QString& testo, QWidget* padre) : QCheckBox(testo, padre) {
    setTristate(true);
    connect(this, &QCheckBox::stateChanged, this, [this](int) { emit valore_cambiato(valore()); });
}

int CasellaSpunta::valore() const {
    switch (checkState()) {
        case Qt::Checked: return 1;
        case Qt::PartiallyChecked: return 2;
        default: return 0;
    }
}

void CasellaSpunta::imposta_valore(int valore) {
    setCheckState(valore == 1 ? Qt::Checked : valore == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

void CasellaSpunta::nextCheckState() {
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}
