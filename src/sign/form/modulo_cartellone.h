// The site-sign form "Cartellonistica": a red, scrollable preview of the
// poster with the three kinds of area and their pictures and the thirteen
// entry boxes under their labels; on the left "&Menu", "&Salva", "&Stampa"
// and "&Aiuto". It fills itself from the store when it opens, saves through
// the sign's record rules, and prints the poster from what is stored.
#pragma once

#include <array>
#include <functional>

#include <QWidget>

#include "sign/record_cartellone.h"

class CasellaTesto;
class GruppoOpzioni;
class QLabel;
class QPushButton;
class QScrollArea;

class ModuloCartellone : public QWidget {
    Q_OBJECT
public:
    explicit ModuloCartellone(std::function<void()> torna_al_menu, QWidget* padre = nullptr);

    // Loads the stored entries. False (after telling the user) when the
    // store cannot be read: the form is then not to be shown.
    bool carica();

    ModelloCartellone modello() const;

    // "&Salva": asks first; true when the entries were stored.
    bool salva();
    // "&Stampa": the poster from the stored entries, shown in the viewer.
    void stampa();
    // "&Menu": true when the form was left (after a completed save or "No").
    bool menu();
    void aiuto();

    bool cartellone_modificato() const { return modificato_; }

    CasellaTesto* text1(int indice) const { return text1_.at(static_cast<std::size_t>(indice)); }
    QLabel* label2(int indice) const { return label2_.at(static_cast<std::size_t>(indice)); }
    GruppoOpzioni* option1() const { return option1_; }
    QLabel* image3(int indice) const { return image3_.at(static_cast<std::size_t>(indice)); }
    QPushButton* command1(int indice) const { return command1_.at(static_cast<std::size_t>(indice)); }
    QScrollArea* anteprima() const { return anteprima_; }

    // Where the poster goes; tests may change it.
    void imposta_file_cartellone(std::function<void()> stampa) { stampa_ = std::move(stampa); }

protected:
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void costruisci();
    void quando_cambia();
    void mostra_area(int indice);
    // The "&Menu" question and, on "Sì", the save: true when the form may
    // be left.
    bool chiedi_e_salva();
    void esci();

    std::function<void()> torna_al_menu_;
    std::function<void()> stampa_;
    bool modificato_ = false;
    bool in_caricamento_ = false;
    bool uscito_ = false;

    std::array<CasellaTesto*, NUMERO_CASELLE_CARTELLONE> text1_{};
    std::array<QLabel*, NUMERO_CASELLE_CARTELLONE> label2_{};
    std::array<QLabel*, 3> image3_{};
    std::array<QPushButton*, 4> command1_{};
    GruppoOpzioni* option1_ = nullptr;
    QScrollArea* anteprima_ = nullptr;
};

// Opens the sign form as a top-level window; it calls torna_al_menu when the
// user leaves it and then closes itself. False, after telling the user, when
// the store cannot be read; nothing is opened then.
bool apri_cartellone(std::function<void()> torna_al_menu);
