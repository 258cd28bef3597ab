#include "sign/record_cartellone.h"

#include "builders/testo_cp1252.h"
#include "common/cp1252.h"
#include "common/dati.h"
#include "common/date.h"
#include "common/messaggi.h"

namespace {

using Coppie = std::vector<std::pair<std::string, std::string>>;

constexpr std::string_view NESSUNA_DATA = "0";

bool vuoto(std::string_view testo) { return togli_spazi(testo).empty(); }

bool senza_data(std::string_view testo) {
    const std::string t = togli_spazi(testo);
    return t.empty() || maiuscolo(t) == maiuscolo(SEGNAPOSTO_DATA_CARTELLONE);
}

// The stored form of a date box that passed the check.
std::string data_memorizzata(std::string_view testo) {
    if (senza_data(testo)) return std::string(NESSUNA_DATA);
    return data_per_archivio(togli_spazi(testo));
}

bool con_ripiego(int casella) {
    switch (casella) {
        case INDIRIZZO:
        case TIPOLOGIA_LAVORI:
        case TITOLO_EDILIZIO:
        case IMPRESA:
        case PROGETTISTA:
        case DIRETTORE_LAVORI:
        case DIRETTORE_TECNICO:
            return true;
        default:
            return false;
    }
}

std::string da_utf8(const char* testo) {
    auto convertito = utf8_a_cp1252(testo);
    return convertito ? *convertito : std::string(testo);
}

}  // namespace

ModelloCartellone modello_cartellone(const std::map<std::string, std::string>& archivio) {
    const DatiCartellone dati(archivio);
    ModelloCartellone m;
    for (int i = 0; i < NUMERO_CASELLE_CARTELLONE; ++i) m.testi[static_cast<std::size_t>(i)] = dati.testo(i);
    for (int i : {DATA_INIZIO, DATA_FINE}) {
        auto& testo = m.testi[static_cast<std::size_t>(i)];
        if (testo.empty()) testo = SEGNAPOSTO_DATA_CARTELLONE;
    }
    m.tipo_centro = indice_tipo_centro(dati.tipo_centro());
    return m;
}

std::optional<ModelloCartellone> carica_cartellonistica() {
    try {
        ModelloCartellone m = modello_cartellone(leggi_archivio());
        if (m.tipo_centro < 0) {
            m.tipo_centro = 0;
            scrivi_dato(CHIAVE_TIPO_CENTRO, TIPI_CENTRO[0]);
        }
        return m;
    } catch (const ErroreDati& errore) {
        mostra_avviso(da_utf8(errore.what()));
        return std::nullopt;
    }
}

std::optional<DataRifiutata> controlla_cartellone(const ModelloCartellone& m) {
    const std::string& inizio = m.testi[DATA_INIZIO];
    const std::string& fine = m.testi[DATA_FINE];
    if (!senza_data(inizio) && !data_ammessa(togli_spazi(inizio)))
        return DataRifiutata{DATA_INIZIO, testi::cp1252("La Data di inizio lavori è errata!")};
    if (!senza_data(fine) && !data_ammessa(togli_spazi(fine)))
        return DataRifiutata{DATA_FINE, testi::cp1252("La Data di fine lavori è errata!")};
    const std::string da = data_memorizzata(inizio);
    const std::string a = data_memorizzata(fine);
    // Both are eight digits here, so the text order is the date order.
    if (da != NESSUNA_DATA && a != NESSUNA_DATA && a < da)
        return DataRifiutata{DATA_FINE,
                             testi::cp1252("La data fine lavori non può essere antecedente quella di inizio!")};
    return std::nullopt;
}

Coppie coppie_cartellone(const ModelloCartellone& m, const std::map<std::string, std::string>& archivio) {
    const DatiCartellone dati(archivio);
    const auto& chiavi = chiavi_caselle_cartellone();
    Coppie coppie;
    const bool centro_valido = m.tipo_centro >= 0 && m.tipo_centro < static_cast<int>(TIPI_CENTRO.size());
    coppie.emplace_back(CHIAVE_TIPO_CENTRO,
                        centro_valido ? std::string(TIPI_CENTRO[static_cast<std::size_t>(m.tipo_centro)]) : "");
    for (int i = 0; i < NUMERO_CASELLE_CARTELLONE; ++i) {
        const std::string& testo = m.testi[static_cast<std::size_t>(i)];
        std::string chiave(chiavi[static_cast<std::size_t>(i)]);
        if (i == DATA_INIZIO || i == DATA_FINE) {
            coppie.emplace_back(std::move(chiave), data_memorizzata(testo));
        } else if (!con_ripiego(i)) {
            coppie.emplace_back(std::move(chiave), testo);
        } else {
            const auto ripiego = dati.ripiego(i);
            const bool uguale = ripiego && maiuscolo(togli_spazi(testo)) == maiuscolo(togli_spazi(*ripiego));
            if (!vuoto(testo) && !uguale)
                coppie.emplace_back(std::move(chiave), testo);
            else if (dati.presente(i))
                // The user emptied the box or set it back to the contract's
                // value: the old entry must not keep showing.
                coppie.emplace_back(std::move(chiave), "");
        }
    }
    return coppie;
}

bool salva_cartellone(const ModelloCartellone& m, int* errata) {
    if (const auto rifiuto = controlla_cartellone(m)) {
        mostra_avviso(rifiuto->messaggio);
        if (errata) *errata = rifiuto->casella;
        return false;
    }
    try {
        scrivi_dati(coppie_cartellone(m, leggi_archivio()));
    } catch (const ErroreDati& errore) {
        mostra_avviso(da_utf8(errore.what()));
        return false;
    }
    return true;
}
