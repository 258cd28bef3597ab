#include "sign/chiavi_cartellone.h"

#include "common/cp1252.h"
#include "common/date.h"

namespace {

constexpr std::array<std::string_view, NUMERO_CASELLE_CARTELLONE> CHIAVI_CASELLE = {
    "CARTELLONE_INDIRIZZO_CONDOMINIO",
    "CARTELLONE_TIPOLOGIA_LAVORI",
    "CARTELLONE_TITOLO_EDILIZIO",
    "CARTELLONE_RAGIONE_SOCIALE_IMPRESA",
    "CARTELLONE_DATA_INIZIO_LAVORI",
    "CARTELLONE_DATA_FINE_LAVORI",
    "CARTELLONE_PROGETTISTA",
    "CARTELLONE_DIRETTORE_LAVORI",
    "CARTELLONE_COORDINATORE_PROGETTAZIONE",
    "CARTELLONE_COORDINATORE_ESECUZIONE",
    "CARTELLONE_DIRETTORE_TECNICO_IMPRESA",
    "CARTELLONE_IMPRESA_SUBAPPALTATRICE",
    "CARTELLONE_DIRETTORE_TECNICO_IMPRESA_SUBAPPALTATRICE",
};

constexpr std::array<std::string_view, 14> CHIAVI = {
    CHIAVE_TIPO_CENTRO,
    CHIAVI_CASELLE[0], CHIAVI_CASELLE[1], CHIAVI_CASELLE[2],  CHIAVI_CASELLE[3],  CHIAVI_CASELLE[4],
    CHIAVI_CASELLE[5], CHIAVI_CASELLE[6], CHIAVI_CASELLE[7],  CHIAVI_CASELLE[8],  CHIAVI_CASELLE[9],
    CHIAVI_CASELLE[10], CHIAVI_CASELLE[11], CHIAVI_CASELLE[12],
};

const std::string VUOTO;

const std::string& valore(const std::map<std::string, std::string>& archivio, std::string_view chiave) {
    const auto trovato = archivio.find(std::string(chiave));
    return trovato == archivio.end() ? VUOTO : trovato->second;
}

std::string persona(const std::map<std::string, std::string>& archivio, std::string_view ruolo) {
    const std::string r(ruolo);
    return testo_persona(valore(archivio, "TITOLO_" + r), valore(archivio, "NOME_" + r),
                         valore(archivio, "COGNOME_" + r));
}

bool vuoto(std::string_view testo) { return togli_spazi(testo).empty(); }

}  // namespace

const std::array<std::string_view, NUMERO_CASELLE_CARTELLONE>& chiavi_caselle_cartellone() { return CHIAVI_CASELLE; }

const std::array<std::string_view, 14>& chiavi_cartellone() { return CHIAVI; }

int indice_tipo_centro(std::string_view valore) {
    const std::string tipo = togli_spazi(maiuscolo(valore));
    for (std::size_t i = 0; i < TIPI_CENTRO.size(); ++i)
        if (tipo == TIPI_CENTRO[i]) return static_cast<int>(i);
    return -1;
}

std::string testo_persona(std::string_view titolo, std::string_view nome, std::string_view cognome) {
    std::string testo(titolo);
    testo += ' ';
    testo += nome;
    testo += ' ';
    testo += cognome;
    return testo;
}

std::string titolo_edilizio(const std::map<std::string, std::string>& archivio) {
    std::string titolo;
    if (valore(archivio, "DIA_SI_NO") == "S") titolo = "DIA";
    const std::string& numero = valore(archivio, "DISPOSIZIONE_DIRIGENZIALE_NUM");
    if (togli_spazi(valore(archivio, "AUTORIZZAZIONE_COMUNE_DIRIDO")) == "S" && !vuoto(numero)) {
        titolo = "Provv. aut. Comune Rezevi n." + numero + " del " +
                 data_da_archivio(valore(archivio, "DATA_DISPOSIZIONE_DIRIGENZIALE"));
    }
    if (valore(archivio, "RELAZIONE_ASSEVERATA") == "S") titolo = "Relazione asseverata";
    return titolo;
}

DatiCartellone::DatiCartellone(const std::map<std::string, std::string>& archivio) : valori_(archivio) {
    for (std::size_t i = 0; i < CHIAVI_CASELLE.size(); ++i)
        presenti_[i] = archivio.count(std::string(CHIAVI_CASELLE[i])) != 0;
    // Read upper-cased, then trimmed: a stored "csu" chooses the same picture.
    tipo_centro_ = togli_spazi(maiuscolo(valore(archivio, CHIAVE_TIPO_CENTRO)));
}

const std::string& DatiCartellone::memorizzato(int casella) const {
    return valore(valori_, CHIAVI_CASELLE.at(static_cast<std::size_t>(casella)));
}

bool DatiCartellone::presente(int casella) const { return presenti_.at(static_cast<std::size_t>(casella)); }

std::optional<std::string> DatiCartellone::ripiego(int casella) const {
    switch (casella) {
        case INDIRIZZO: return valore(valori_, "INDIRIZZO_CONDOMINIO");
        case TITOLO_EDILIZIO: return titolo_edilizio(valori_);
        case IMPRESA: return valore(valori_, "RAGIONE_SOCIALE_IMPRESA");
        case PROGETTISTA: return persona(valori_, "PROGETTISTA");
        case DIRETTORE_LAVORI: return persona(valori_, "DIRETTORE_LAVORI");
        case DIRETTORE_TECNICO: return persona(valori_, "DIRETTORE_TECNICO_IMPRESA");
        default: return std::nullopt;
    }
}

std::string DatiCartellone::testo(int casella) const {
    const std::string& proprio = memorizzato(casella);
    if (casella == DATA_INIZIO || casella == DATA_FINE) return data_da_archivio(proprio);
    if (!vuoto(proprio)) return proprio;
    return ripiego(casella).value_or(std::string());
}
