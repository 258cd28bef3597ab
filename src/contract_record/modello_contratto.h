// The contract form as plain data: the state of every input the record load
// fills and the record save reads, and the rules that tie inputs together
// (the attachment boxes that follow box d), the permit number and date that
// follow the municipal-authorisation option, the optional-article pairs
// opened one after the other). The Qt form mirrors this state; keeping it
// here lets the load and the save be tested without a window.
//
// Every text is Windows-1252. Line breaks inside article bodies are CR LF.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int NUMERO_TESTI = 83;
inline constexpr std::string_view SEGNAPOSTO_DATA = "gg/mm/aaaa";
// Boxes that hold a date and show the placeholder until one is typed.
inline constexpr std::array<int, 9> CASELLE_DATA = {4, 6, 9, 15, 21, 34, 36, 41, 82};
// Optional articles 13..22: title in box 62 + 2 (n - 13), body in the next box.
inline constexpr int PRIMO_TITOLO_ARTICOLO = 62;
inline constexpr int NUMERO_ARTICOLI_FACOLTATIVI = 10;
// Attachment d), the capitolato, gates the other attachment boxes.
inline constexpr int ALLEGATO_CAPITOLATO = 3;

inline constexpr int NON_SPUNTATA = 0;
inline constexpr int SPUNTATA = 1;
inline constexpr int GRIGIA = 2;

struct StatoTesto {
    std::string testo;
    bool abilitata = true;
};

struct StatoSpunta {
    int valore = NON_SPUNTATA;
    bool abilitata = true;
};

// A combo box: its list, the selected item (-1 none) and the text it shows.
// A combo that is not editable always shows its selected item (or nothing).
struct StatoCombo {
    std::vector<std::string> voci;
    int indice = -1;
    std::string testo;
    bool modificabile = false;
};

struct ModelloContratto {
    std::array<StatoTesto, NUMERO_TESTI> text1;
    StatoCombo combo1;                // municipality
    std::array<StatoCombo, 7> combo2; // titles of the people named
    StatoCombo combo3;                // chamber-of-commerce province
    StatoSpunta check1;                   // article 11 (arbitration)
    std::array<StatoSpunta, 11> check2;   // attachments a) to k)
    std::array<StatoSpunta, 17> check3;   // works decided
    std::array<bool, 3> option1{};          // permit: DIA, authorisation, sworn report
    std::array<bool, 2> option3{};          // subcontracting: none, declaration
    int contratto_modificato = 0;
};

// The fixed lists.
const std::vector<std::string>& voci_municipalita();
const std::vector<std::string>& voci_titoli();
const std::vector<std::string>& voci_province();

// The form as it opens before the load: placeholders in the date boxes, the
// lists filled, the first municipality selected, no province selected, the
// permit boxes and the attachment boxes other than d) disabled.
ModelloContratto modello_iniziale();

// Selecting an item of a combo (-1 for none); a combo that is not editable
// shows the item's text.
void seleziona_voce(StatoCombo& combo, int indice);

// Ticks, unticks or greys an attachment box. Ticking d) enables the others;
// anything else on d) clears and disables them.
void imposta_allegato(ModelloContratto& m, int indice, int valore);

// Selects or deselects a permit option; selecting one deselects the others.
// The authorisation's number and date are enabled only while its option is
// selected.
void imposta_permesso(ModelloContratto& m, int indice, bool selezionato);

// Selects or deselects a subcontracting option; selecting one deselects the
// other.
void imposta_subappalto(ModelloContratto& m, int indice, bool selezionato);

// The optional-article pairs are opened one after the other: the pair of
// article 13 is always open, the pair of article n + 1 when article n has a
// title. A pair that already holds text stays open, so that nothing loaded
// is ever out of reach.
void aggiorna_articoli(ModelloContratto& m);

// True when the optional article n (13..22) has a title (blanks alone do
// not count).
bool articolo_presente(const ModelloContratto& m, int n);

// Articles of the contract: the eleven it always has, article 11 when ticked,
// and every optional article with a title.
int numero_articoli(const ModelloContratto& m);

// Attachments listed: the ticked attachment boxes.
int numero_allegati(const ModelloContratto& m);

// The contract total shown in its box: works, safety and discharge amounts,
// each rounded to cents as the contract writes it; blank or non-numeric
// amounts are skipped. Written with "," and two decimals, no grouping.
std::string totale_appalto(const ModelloContratto& m);
