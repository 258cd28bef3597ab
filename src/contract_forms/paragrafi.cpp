#include "contract_forms/paragrafi.h"

#include "common/cp1252.h"

namespace {

std::string unisci_nome(const StatoCombo& titolo, const std::string& nome, const std::string& cognome) {
    std::string risultato;
    for (const std::string& parte : {titolo.testo, nome, cognome}) {
        const std::string p = togli_spazi(parte);
        if (p.empty()) continue;
        if (!risultato.empty()) risultato += ' ';
        risultato += p;
    }
    return risultato;
}

const std::string& t(const ModelloContratto& m, int i) { return m.text1[static_cast<std::size_t>(i)].testo; }

}  // namespace

std::string nominativo_richiedente(const ModelloContratto& m) { return unisci_nome(m.combo2[0], t(m, 0), t(m, 1)); }
std::string nominativo_rappresentante_impresa(const ModelloContratto& m) {
    return unisci_nome(m.combo2[1], t(m, 11), t(m, 12));
}
std::string nominativo_progettista(const ModelloContratto& m) { return unisci_nome(m.combo2[2], t(m, 24), t(m, 25)); }
std::string nominativo_direttore_lavori(const ModelloContratto& m) {
    return unisci_nome(m.combo2[3], t(m, 26), t(m, 27));
}

std::string ripetuto(const std::string& testo) {
    const std::string pulito = togli_spazi(testo);
    return pulito.empty() ? std::string("........") : pulito;
}

std::string titolo_edificio(const ModelloContratto& m) { return maiuscolo(togli_spazi(t(m, 5))); }

int altri_articoli(const ModelloContratto& m) { return numero_articoli(m) - 11; }

std::string frase_consistenza(const ModelloContratto& m) {
    return "Il presente contratto consta di n\xB0 " + std::to_string(numero_articoli(m)) +
           " articoli, di n\xB0 ... pagine e di n\xB0 " + std::to_string(numero_allegati(m)) + " allegati.";
}
