// The contract form for a sole owner or for co-owners: one scrolling page
// that reads as the contract, with the inputs where the contract shows the
// values. The record load fills it when it opens; "&Salva" stores it;
// "&Bozza" writes and shows the draft of the saved contract; "&Menu" (or
// closing the window) goes back to the start menu, first asking to save
// when something changed.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QWidget>

#include "contract_forms/apertura.h"
#include "contract_record/modello_contratto.h"

class CasellaSpunta;
class CasellaTesto;
class CasellaTestoMultiriga;
class GruppoOpzioni;
class LayoutFluido;
class QComboBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

class ModuloContratto : public QWidget {
    Q_OBJECT
public:
    ModuloContratto(TipoContratto tipo, std::function<void()> torna_al_menu, QWidget* padre = nullptr);

    // Loads the stored contract. False (after telling the user) when the
    // store cannot be read: the form is then not to be shown.
    bool carica();

    // The inputs as plain data, and the reverse (no input counts as changed).
    ModelloContratto modello() const;
    void mostra_modello(const ModelloContratto& m);

    // "&Salva": true when the contract was stored.
    bool salva();
    // "&Bozza".
    void bozza();
    // "&Menu": true when the form was left (after a completed save or "No";
    // Esc or closing the question stays on the form).
    bool menu();
    void aiuto();

    int contratto_modificato() const { return contratto_modificato_; }

    // The controls, for the start-up focus and for tests.
    QWidget* text1(int indice) const;              // any of the 83 boxes
    CasellaTesto* casella(int indice) const;       // nullptr for article bodies
    CasellaTestoMultiriga* corpo_articolo(int n) const;  // n = 13..22
    QComboBox* combo1() const { return combo1_; }
    QComboBox* combo2(int indice) const { return combo2_.at(static_cast<std::size_t>(indice)); }
    QComboBox* combo3() const { return combo3_; }
    CasellaSpunta* check1() const { return check1_; }
    CasellaSpunta* check2(int indice) const { return check2_.at(static_cast<std::size_t>(indice)); }
    CasellaSpunta* check3(int indice) const { return check3_.at(static_cast<std::size_t>(indice)); }
    GruppoOpzioni* option1() const { return option1_; }
    GruppoOpzioni* option3() const { return option3_; }
    QPushButton* pulsante_salva() const { return salva_; }
    QPushButton* pulsante_bozza() const { return bozza_; }
    QPushButton* pulsante_menu() const { return menu_; }
    // The labels that repeat a value typed elsewhere, by name
    // ("nominativo_richiedente", "indirizzo_edificio", "impresa", "totale",
    // "consistenza", ...).
    std::vector<QLabel*> ripetizioni(const std::string& nome) const;

protected:
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    struct Ripetizione {
        std::string nome;
        QLabel* etichetta;
        std::function<std::string(const ModelloContratto&)> testo;
    };

    // The entries; the page's own updates at every key skip the lists'
    // items (hundreds of places and titles), which they never use.
    ModelloContratto leggi_modello(bool con_voci) const;

    void costruisci_pagina();
    // Page building blocks.
    void titolo(const QString& testo);
    void paragrafo(const QString& testo);
    LayoutFluido* frase();
    void parole(LayoutFluido* riga, const QString& testo);
    CasellaTesto* testo(LayoutFluido* riga, int indice, const char* tag, int lunghezza, int larghezza);
    QComboBox* titolo_persona(LayoutFluido* riga, int indice);
    CasellaSpunta* spunta(LayoutFluido* riga, const QString& testo);
    // An option button that begins a sentence; the sentence's words are its
    // label.
    void opzione(LayoutFluido* riga, GruppoOpzioni* gruppo, const QString& nome);
    void ripeti(LayoutFluido* riga, const std::string& nome,
                std::function<std::string(const ModelloContratto&)> testo);

    void quando_cambia();
    void quando_cambia_testo(int indice);
    void quando_cambia_allegato(int indice, int valore);
    // Brings the repeated values, the total, the counts and the enabled
    // inputs up to date with the current entries.
    void aggiorna_pagina();
    void esci();
    // With unsaved edits asks whether to save them: true when the form may
    // be left (saved, or "No").
    bool chiedi_e_salva();

    TipoContratto tipo_;
    std::function<void()> torna_al_menu_;
    int contratto_modificato_ = 0;
    bool in_caricamento_ = false;
    bool uscito_ = false;

    QVBoxLayout* pagina_ = nullptr;
    QWidget* contenuto_ = nullptr;
    std::array<CasellaTesto*, NUMERO_TESTI> text1_{};
    std::array<CasellaTestoMultiriga*, NUMERO_ARTICOLI_FACOLTATIVI> corpi_{};
    // The article bodies as stored, converted again only when one changes:
    // the page is brought up to date from all the entries at every key.
    mutable std::array<std::optional<std::string>, NUMERO_ARTICOLI_FACOLTATIVI> corpi_cp1252_{};
    QComboBox* combo1_ = nullptr;
    std::array<QComboBox*, 7> combo2_{};
    QComboBox* combo3_ = nullptr;
    CasellaSpunta* check1_ = nullptr;
    std::array<CasellaSpunta*, 11> check2_{};
    std::array<CasellaSpunta*, 17> check3_{};
    GruppoOpzioni* option1_ = nullptr;
    GruppoOpzioni* option3_ = nullptr;
    QPushButton* salva_ = nullptr;
    QPushButton* bozza_ = nullptr;
    QPushButton* menu_ = nullptr;
    QPushButton* aiuto_ = nullptr;
    std::vector<Ripetizione> ripetizioni_;
};

// The form's help window (modal).
void mostra_aiuto_contratto(QWidget* padre);
