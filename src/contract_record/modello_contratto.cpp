#include "contract_record/modello_contratto.h"

#include <charconv>
#include <cmath>

#include "common/cp1252.h"
#include "common/numeri.h"

const std::vector<std::string>& voci_municipalita() {
    static const std::vector<std::string> voci = [] {
        std::vector<std::string> v{"1 - Chiaia,Posillipo,San Ferdinando"};
        for (int i = 2; i <= 10; ++i)
            v.push_back(std::to_string(i) + " - Municipalit\xE0 " + std::to_string(i));
        return v;
    }();
    return voci;
}

const std::vector<std::string>& voci_titoli() {
    static const std::vector<std::string> voci{"Sig.", "Sig.ra", "Dott.", "Dott.ssa", "Ing.",    "Arch.",
                                               "Geom.", "Per. Ind.", "Avv.", "Rag.", "Prof."};
    return voci;
}

const std::vector<std::string>& voci_province() {
    static const std::vector<std::string> voci{
        "AG", "AL", "AN", "AO", "AP", "AQ", "AR", "AT", "AV", "BA", "BG", "BI", "BL", "BN", "BO", "BR",
        "BS", "BT", "BZ", "CA", "CB", "CE", "CH", "CL", "CN", "CO", "CR", "CS", "CT", "CZ", "EN", "FC",
        "FE", "FG", "FI", "FM", "FR", "GE", "GO", "GR", "IM", "IS", "KR", "LC", "LE", "LI", "LO", "LT",
        "LU", "MB", "MC", "ME", "MI", "MN", "MO", "MS", "MT", "NA", "NO", "NU", "OR", "PA", "PC", "PD",
        "PE", "PG", "PI", "PN", "PO", "PR", "PT", "PU", "PV", "PZ", "RA", "RC", "RE", "RG", "RI", "RM",
        "RN", "RO", "SA", "SI", "SO", "SP", "SR", "SS", "SU", "SV", "TA", "TE", "TN", "TO", "TP", "TR",
        "TS", "TV", "UD", "VA", "VB", "VC", "VE", "VI", "VR", "VT", "VV"};
    return voci;
}

void seleziona_voce(StatoCombo& combo, int indice) {
    if (indice < 0 || indice >= static_cast<int>(combo.voci.size())) indice = -1;
    combo.indice = indice;
    if (indice >= 0)
        combo.testo = combo.voci[static_cast<std::size_t>(indice)];
    else if (!combo.modificabile)
        combo.testo.clear();
}

ModelloContratto modello_iniziale() {
    ModelloContratto m;
    for (int i : CASELLE_DATA) m.text1[static_cast<std::size_t>(i)].testo = std::string(SEGNAPOSTO_DATA);
    m.combo1.voci = voci_municipalita();
    seleziona_voce(m.combo1, 0);
    for (auto& c : m.combo2) {
        c.voci = voci_titoli();
        c.modificabile = true;
    }
    m.combo3.voci = voci_province();
    imposta_permesso(m, 1, false);
    imposta_allegato(m, ALLEGATO_CAPITOLATO, NON_SPUNTATA);
    aggiorna_articoli(m);
    m.contratto_modificato = 0;
    return m;
}

void imposta_allegato(ModelloContratto& m, int indice, int valore) {
    if (indice < 0 || indice >= static_cast<int>(m.check2.size())) return;
    m.check2[static_cast<std::size_t>(indice)].valore = valore;
    if (indice != ALLEGATO_CAPITOLATO) return;
    const bool aperti = valore == SPUNTATA;
    for (std::size_t i = 0; i < m.check2.size(); ++i) {
        if (static_cast<int>(i) == ALLEGATO_CAPITOLATO) continue;
        m.check2[i].abilitata = aperti;
        if (!aperti) m.check2[i].valore = NON_SPUNTATA;
    }
}

void imposta_permesso(ModelloContratto& m, int indice, bool selezionato) {
    if (indice < 0 || indice >= static_cast<int>(m.option1.size())) return;
    if (selezionato)
        for (auto& o : m.option1) o = false;
    m.option1[static_cast<std::size_t>(indice)] = selezionato;
    m.text1[33].abilitata = m.option1[1];
    m.text1[34].abilitata = m.option1[1];
}

void imposta_subappalto(ModelloContratto& m, int indice, bool selezionato) {
    if (indice < 0 || indice >= static_cast<int>(m.option3.size())) return;
    if (selezionato)
        for (auto& o : m.option3) o = false;
    m.option3[static_cast<std::size_t>(indice)] = selezionato;
}

bool articolo_presente(const ModelloContratto& m, int n) {
    if (n < 13 || n > 22) return false;
    const auto& titolo = m.text1[static_cast<std::size_t>(PRIMO_TITOLO_ARTICOLO + 2 * (n - 13))].testo;
    return !togli_spazi(titolo).empty();
}

void aggiorna_articoli(ModelloContratto& m) {
    for (int n = 13; n <= 22; ++n) {
        const auto titolo = static_cast<std::size_t>(PRIMO_TITOLO_ARTICOLO + 2 * (n - 13));
        const bool pieno = !m.text1[titolo].testo.empty() || !m.text1[titolo + 1].testo.empty();
        const bool aperto = n == 13 || articolo_presente(m, n - 1) || pieno;
        m.text1[titolo].abilitata = aperto;
        m.text1[titolo + 1].abilitata = aperto;
    }
}

int numero_articoli(const ModelloContratto& m) {
    int n = 11;
    if (m.check1.valore == SPUNTATA) ++n;
    for (int a = 13; a <= 22; ++a)
        if (articolo_presente(m, a)) ++n;
    return n;
}

int numero_allegati(const ModelloContratto& m) {
    int n = 0;
    for (const auto& c : m.check2)
        if (c.valore == SPUNTATA) ++n;
    return n;
}

std::string totale_appalto(const ModelloContratto& m) {
    // Sum in cents so that the total is exactly the sum of the rounded
    // amounts the contract prints.
    long long centesimi = 0;
    bool qualcuno = false;
    for (int i : {42, 44, 45}) {
        std::string importo = m.text1[static_cast<std::size_t>(i)].testo;
        if (!valore_numerico(importo)) continue;
        formatta_numero(importo, 2);
        auto valore = valore_numerico(importo);
        if (!valore || !std::isfinite(*valore) || std::fabs(*valore) > 1e15) continue;
        centesimi += std::llround(*valore * 100.0);
        qualcuno = true;
    }
    if (!qualcuno) return "";
    const bool negativo = centesimi < 0;
    const unsigned long long assoluto =
        negativo ? 0ULL - static_cast<unsigned long long>(centesimi) : static_cast<unsigned long long>(centesimi);
    std::string cent = std::to_string(assoluto % 100);
    if (cent.size() < 2) cent.insert(0, "0");
    return (negativo ? "-" : "") + std::to_string(assoluto / 100) + "," + cent;
}
