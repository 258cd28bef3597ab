// Option buttons of one frame: at most one selected, possibly none (a record
// load may leave a frame without a choice). Clicking the selected button
// keeps it selected, as option buttons do.
#pragma once

#include <vector>

#include <QObject>
#include <QRadioButton>

class PulsanteOpzione : public QRadioButton {
    Q_OBJECT
public:
    explicit PulsanteOpzione(const QString& testo = QString(), QWidget* padre = nullptr);

protected:
    void nextCheckState() override;
};

class GruppoOpzioni : public QObject {
    Q_OBJECT
public:
    explicit GruppoOpzioni(QObject* padre = nullptr);

    // Adds a button; its index is the number of buttons added before it.
    int aggiungi(PulsanteOpzione* pulsante);
    int conteggio() const { return static_cast<int>(pulsanti_.size()); }
    PulsanteOpzione* pulsante(int indice) const;

    // Index of the selected button, -1 for none.
    int selezionato() const;
    bool selezionato(int indice) const;
    // Selects one button and deselects the others; -1 (or any index out of
    // range) deselects all.
    void seleziona(int indice);

signals:
    // A button became selected (by the user or by code): its click handling.
    void opzione_selezionata(int indice);
    // Any change of the group's selection, including "none".
    void selezione_cambiata();

private:
    void quando_cambia(int indice, bool acceso);

    std::vector<PulsanteOpzione*> pulsanti_;
    bool in_aggiornamento_ = false;
};
