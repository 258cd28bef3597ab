#include "shell/controllo_dati.h"

#include <algorithm>
#include <array>
#include <vector>

#include "common/cp1252.h"
#include "common/date.h"
#include "common/numeri.h"
#include "contract_record/testo_articolo.h"

namespace {

enum Tipi : unsigned {
    AMMINISTRATORE = 1,
    PROPRIETARIO = 2,
    COMPROPRIETARIO = 4,
    TUTTI = AMMINISTRATORE | PROPRIETARIO | COMPROPRIETARIO,
};

enum class Regola {
    Testo,     // any non-blank text
    Importo,   // a number as typed ("1.200,50")
    Giorni,    // a whole number of days above zero
    Data,      // a stored date (eight digits, a real day)
    Permesso,  // one of the three building-permit options chosen
};

struct Voce {
    unsigned tipi;
    Regola regola;
    std::string_view chiave;
    std::string_view messaggio;  // UTF-8 here, Windows-1252 to the caller
    std::string_view solo_se = {};  // the item counts only when this flag is "S"
};

// In the order the contract presents them: parties, building, appointments,
// permit, amounts, duration, date. The first failure stops the check.
constexpr Voce voci[] = {
    {TUTTI, Regola::Testo, "NOME_RICHIEDENTE", "Manca il nome del richiedente."},
    {TUTTI, Regola::Testo, "COGNOME_RICHIEDENTE", "Manca il cognome del richiedente."},
    {TUTTI, Regola::Testo, "MUNICIPALITA_CONDOMINIO", "Manca la municipalità dell'edificio."},
    {TUTTI, Regola::Testo, "INDIRIZZO_CONDOMINIO", "Manca l'indirizzo dell'edificio."},
    {AMMINISTRATORE, Regola::Data, "DATA_DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE",
     "Manca la data della delibera condominiale di nomina dell'amministratore."},
    {AMMINISTRATORE, Regola::Data, "DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI",
     "Manca la data della delibera condominiale per l'esecuzione dei lavori."},
    {TUTTI, Regola::Testo, "RAGIONE_SOCIALE_IMPRESA", "Manca la ragione sociale dell'impresa."},
    {TUTTI, Regola::Testo, "NOME_RAPPRESENTANTE_IMPRESA", "Manca il nome del rappresentante dell'impresa."},
    {TUTTI, Regola::Testo, "COGNOME_RAPPRESENTANTE_IMPRESA",
     "Manca il cognome del rappresentante dell'impresa."},
    {TUTTI, Regola::Testo, "NOME_PROGETTISTA", "Manca il nome del progettista."},
    {TUTTI, Regola::Testo, "COGNOME_PROGETTISTA", "Manca il cognome del progettista."},
    {TUTTI, Regola::Testo, "NOME_DIRETTORE_LAVORI", "Manca il nome del direttore dei lavori."},
    {TUTTI, Regola::Testo, "COGNOME_DIRETTORE_LAVORI", "Manca il cognome del direttore dei lavori."},
    {TUTTI, Regola::Testo, "NOME_DIRETTORE_TECNICO_IMPRESA",
     "Manca il nome del direttore tecnico dell'impresa."},
    {TUTTI, Regola::Testo, "COGNOME_DIRETTORE_TECNICO_IMPRESA",
     "Manca il cognome del direttore tecnico dell'impresa."},
    {TUTTI, Regola::Permesso, "",
     "Manca il titolo dei lavori: scegliere DIA, autorizzazione del Comune o relazione asseverata."},
    {TUTTI, Regola::Testo, "DISPOSIZIONE_DIRIGENZIALE_NUM", "Manca il numero della disposizione dirigenziale.",
     "AUTORIZZAZIONE_COMUNE_DIRIDO"},
    {TUTTI, Regola::Data, "DATA_DISPOSIZIONE_DIRIGENZIALE", "Manca la data della disposizione dirigenziale.",
     "AUTORIZZAZIONE_COMUNE_DIRIDO"},
    {TUTTI, Regola::Importo, "IMPORTO_LAVORI_NETTO_IVA", "Manca l'importo dei lavori al netto dell'IVA."},
    {TUTTI, Regola::Importo, "ONERI_SICUREZZA_NETTO_IVA",
     "Manca l'importo degli oneri per la sicurezza al netto dell'IVA."},
    {TUTTI, Regola::Giorni, "DURATA_LAVORI_GIORNI", "Manca la durata dei lavori in giorni."},
    {TUTTI, Regola::Data, "DATA_CONTRATTO", "Manca la data del contratto."},
};

std::string valore(const ArchivioDati& archivio, std::string_view chiave) {
    const auto trovato = archivio.find(maiuscolo(togli_spazi(chiave)));
    return trovato == archivio.end() ? std::string() : togli_spazi(trovato->second);
}

bool si(const ArchivioDati& archivio, std::string_view chiave) { return valore(archivio, chiave) == "S"; }

bool solo_cifre(std::string_view testo) {
    return !testo.empty() && std::all_of(testo.begin(), testo.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool data_presente(std::string_view data) {
    return data.size() == 8 && solo_cifre(data) && data != "00000000" && controlla_data(data) == 0;
}

bool presente(const ArchivioDati& archivio, const Voce& voce) {
    const std::string v = valore(archivio, voce.chiave);
    switch (voce.regola) {
        case Regola::Testo: return !v.empty();
        case Regola::Importo: return valore_numerico(v).has_value();
        case Regola::Giorni: return solo_cifre(v) && v.find_first_not_of('0') != std::string::npos;
        case Regola::Data: return data_presente(v);
        case Regola::Permesso:
            return si(archivio, "DIA_SI_NO") || si(archivio, "AUTORIZZAZIONE_COMUNE_DIRIDO") ||
                   si(archivio, "RELAZIONE_ASSEVERATA");
    }
    return false;
}

unsigned bit_del_tipo(TipoRichiedente tipo) {
    switch (tipo) {
        case TipoRichiedente::Amministratore: return AMMINISTRATORE;
        case TipoRichiedente::Proprietario: return PROPRIETARIO;
        case TipoRichiedente::Comproprietario: return COMPROPRIETARIO;
        case TipoRichiedente::Nessuno: break;
    }
    return 0;
}

std::string messaggio(std::string_view utf8) {
    // The texts above are ours and all lie in the code page.
    return utf8_a_cp1252(utf8).value_or(std::string(utf8));
}

// A text with nothing but blanks and line breaks says nothing.
bool vuoto(std::string_view testo) {
    return testo.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

}  // namespace

TipoRichiedente tipo_richiedente(std::string_view testo) {
    const std::string tipo = maiuscolo(togli_spazi(testo));
    if (tipo == "AMMINISTRATORE") return TipoRichiedente::Amministratore;
    if (tipo == "PROPRIETARIO") return TipoRichiedente::Proprietario;
    if (tipo == "COMPROPRIETARIO") return TipoRichiedente::Comproprietario;
    return TipoRichiedente::Nessuno;
}

std::string testo_tipo_richiedente(TipoRichiedente tipo) {
    switch (tipo) {
        case TipoRichiedente::Amministratore: return "Amministratore";
        case TipoRichiedente::Proprietario: return "Proprietario";
        case TipoRichiedente::Comproprietario: return "Comproprietario";
        case TipoRichiedente::Nessuno: break;
    }
    return {};
}

std::optional<std::string> stampa_dati(const ArchivioDati& archivio) {
    const TipoRichiedente tipo = tipo_richiedente(valore(archivio, "TIPO_RICHIEDENTE"));
    const unsigned bit = bit_del_tipo(tipo);
    if (bit == 0) return messaggio("Nessun contratto è stato compilato: scegliere il tipo di richiedente e compilare il contratto.");
    for (const Voce& voce : voci) {
        if ((voce.tipi & bit) == 0) continue;
        if (!voce.solo_se.empty() && !si(archivio, voce.solo_se)) continue;
        if (!presente(archivio, voce)) return messaggio(voce.messaggio);
    }
    return CHECK_ARTICOLI(archivio);
}

std::optional<std::string> CHECK_ARTICOLI(const ArchivioDati& archivio) {
    for (int n = 13; n <= 22; ++n) {
        const std::string numero = std::to_string(n);
        const std::string titolo = valore(archivio, "ARTICOLO_" + numero);
        std::array<std::string, 4> pezzi;
        for (std::size_t k = 0; k < pezzi.size(); ++k)
            pezzi[k] = valore(archivio, "TESTO_ARTICOLO_" + numero + "_" + std::to_string(k + 1));
        const std::string corpo = unisci_testo_articolo(pezzi);
        if (!vuoto(titolo) && vuoto(corpo)) return messaggio("Manca il testo dell'articolo " + numero + ".");
        if (vuoto(titolo) && !vuoto(corpo)) return messaggio("Manca il titolo dell'articolo " + numero + ".");
    }
    return std::nullopt;
}
