#include "ui/gruppo_opzioni.h"

PulsanteOpzione::PulsanteOpzione(const QString& testo, QWidget* padre) : QRadioButton(testo, padre) {
    // The group, not Qt's sibling rule, decides what is deselected, so that a
    // frame may also hold no choice at all.
    setAutoExclusive(false);
}

void PulsanteOpzione::nextCheckState() { setChecked(true); }

GruppoOpzioni::GruppoOpzioni(QObject* padre) : QObject(padre) {}

int GruppoOpzioni::aggiungi(PulsanteOpzione* pulsante) {
    const int indice = conteggio();
    pulsanti_.push_back(pulsante);
    pulsante->setAutoExclusive(false);
    connect(pulsante, &QAbstractButton::toggled, this,
            [this, indice](bool acceso) { quando_cambia(indice, acceso); });
    connect(pulsante, &QObject::destroyed, this, [this, indice] {
        if (indice < conteggio()) pulsanti_[static_cast<std::size_t>(indice)] = nullptr;
    });
    if (pulsante->isChecked()) quando_cambia(indice, true);
    return indice;
}

PulsanteOpzione* GruppoOpzioni::pulsante(int indice) const {
    if (indice < 0 || indice >= conteggio()) return nullptr;
    return pulsanti_[static_cast<std::size_t>(indice)];
}

int GruppoOpzioni::selezionato() const {
    for (int i = 0; i < conteggio(); ++i)
        if (selezionato(i)) return i;
    return -1;
}

bool GruppoOpzioni::selezionato(int indice) const {
    const PulsanteOpzione* p = pulsante(indice);
    return p != nullptr && p->isChecked();
}

void GruppoOpzioni::seleziona(int indice) {
    if (pulsante(indice) == nullptr) {
        in_aggiornamento_ = true;
        bool cambiato = false;
        for (PulsanteOpzione* p : pulsanti_) {
            if (p != nullptr && p->isChecked()) {
                p->setChecked(false);
                cambiato = true;
            }
        }
        in_aggiornamento_ = false;
        if (cambiato) emit selezione_cambiata();
        return;
    }
    pulsante(indice)->setChecked(true);
}

void GruppoOpzioni::quando_cambia(int indice, bool acceso) {
    if (in_aggiornamento_) return;
    if (!acceso) {
        emit selezione_cambiata();
        return;
    }
    in_aggiornamento_ = true;
    for (int i = 0; i < conteggio(); ++i) {
        if (i != indice && pulsante(i) != nullptr && pulsante(i)->isChecked()) pulsante(i)->setChecked(false);
    }
    in_aggiornamento_ = false;
    emit opzione_selezionata(indice);
    emit selezione_cambiata();
}
