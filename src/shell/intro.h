// The start menu: the kind of client (condominium, sole owner, co-owners) or
// the site sign, "Prosegui", "Stampa Dati", help and exit.
//
// Each time it is shown it reads CONTRATTO_CHIUSO and TIPO_RICHIEDENTE: the
// stored kind is preselected, and a closed contract leaves only the site
// sign selectable.
#pragma once

#include <functional>

#include <QWidget>

#include "contract_forms/apertura.h"
#include "shell/controllo_dati.h"
#include "shell/generazione.h"

class GruppoOpzioni;
class PulsanteOpzione;
class QLabel;
class QPushButton;

class Intro : public QWidget {
    Q_OBJECT
public:
    // The ways out of the menu, replaceable so the menu is tested alone.
    struct Azioni {
        std::function<bool(TipoContratto, std::function<void()> torna_al_menu)> apri_contratto;
        // Runs the output-folder chooser for the stored kind.
        std::function<void(QWidget* padre, CostruttoreContratto)> scegli_cartella;
        std::function<CostruttoreContratto(TipoRichiedente)> costruttore;
        // Opens the site-sign form; false when it could not be opened.
        std::function<bool(std::function<void()> torna_al_menu)> apri_cartellone;
    };

    explicit Intro(QWidget* padre = nullptr);
    Intro(Azioni azioni, QWidget* padre = nullptr);

    enum Scelta { Condominio = 0, Proprietario = 1, Comproprietari = 2, Cartellone = 3 };

    // Reads the two state keys and sets the choices (done on every show).
    void aggiorna_stato();

    GruppoOpzioni* scelte() const { return scelte_; }
    PulsanteOpzione* scelta(Scelta s) const;
    bool contratto_chiuso() const { return chiuso_; }
    // The line under the choices that says why nothing can be chosen (a
    // closed contract, an unreadable data file); hidden otherwise.
    QLabel* nota() const { return nota_; }
    TipoRichiedente tipo_memorizzato() const { return tipo_; }

    // The buttons' actions.
    void prosegui();
    void stampa_dati_e_genera();
    void mostra_guida();

protected:
    void showEvent(QShowEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;

private:
    void costruisci();
    void adatta_altezza();

    Azioni azioni_;
    GruppoOpzioni* scelte_ = nullptr;
    QPushButton* prosegui_ = nullptr;
    QPushButton* stampa_ = nullptr;
    QLabel* nota_ = nullptr;
    bool chiuso_ = false;
    TipoRichiedente tipo_ = TipoRichiedente::Nessuno;
};
