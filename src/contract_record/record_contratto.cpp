#include "contract_record/record_contratto.h"

#include <algorithm>
#include <array>
#include <exception>

#include "common/cp1252.h"
#include "common/date.h"
#include "common/dati.h"
#include "common/messaggi.h"
#include "contract_record/testo_articolo.h"

namespace {

// Key of each text box; the optional-article boxes (62..81) have their own.
constexpr std::array<std::string_view, NUMERO_TESTI> CHIAVI_TESTI = {
    "NOME_RICHIEDENTE",                                  // 0
    "COGNOME_RICHIEDENTE",                               // 1
    "COMUNE_NASCITA_RICHIEDENTE",                        // 2
    "PROVINCIA_NASCITA_RICHIEDENTE",                     // 3
    "DATA_NASCITA_RICHIEDENTE",                          // 4
    "INDIRIZZO_CONDOMINIO",                              // 5
    "DATA_DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE",  // 6
    "COMUNE_DOMICILIO_RICHIEDENTE",                      // 7
    "INDIRIZZO_DOMICILIO_RICHIEDENTE",                   // 8
    "DATA_DELIBERA_AUTORIZZAZIONE_FIRMA_CONTRATTO",      // 9
    "CODICE_FISCALE_RICHIEDENTE",                        // 10
    "NOME_RAPPRESENTANTE_IMPRESA",                       // 11
    "COGNOME_RAPPRESENTANTE_IMPRESA",                    // 12
    "COMUNE_NASCITA_RAPPRESENTANTE_IMPRESA",             // 13
    "PROVINCIA_NASCITA_RAPPRESENTANTE_IMPRESA",          // 14
    "DATA_NASCITA_RAPPRESENTANTE_IMPRESA",               // 15
    "RAGIONE_SOCIALE_IMPRESA",                           // 16
    "COMUNE_IMPRESA",                                    // 17
    "INDIRIZZO_IMPRESA",                                 // 18
    "CODICE_FISCALE_IMPRESA",                            // 19
    "PARTITA_IVA_IMPRESA",                               // 20
    "DATA_DELIBERA_CONDOMINIALE_ESECUZIONE_LAVORI",      // 21
    "LAVORI_DELIBERATI_ALTRO_INTERVENTO",                // 22
    "LAVORI_DELIBERATI_ALTRI_IMPIANTI",                  // 23
    "NOME_PROGETTISTA",                                  // 24
    "COGNOME_PROGETTISTA",                               // 25
    "NOME_DIRETTORE_LAVORI",                             // 26
    "COGNOME_DIRETTORE_LAVORI",                          // 27
    "NOME_COORDINATORE_SICUREZZA",                       // 28
    "COGNOME_COORDINATORE_SICUREZZA",                    // 29
    "ALTRO_INCARICO",                                    // 30
    "NOME_ALTRO_INCARICO",                               // 31
    "COGNOME_ALTRO_INCARICO",                            // 32
    "DISPOSIZIONE_DIRIGENZIALE_NUM",                     // 33
    "DATA_DISPOSIZIONE_DIRIGENZIALE",                    // 34
    "PROTOCOLLO_ISCRIZIONE_CCIAA_IMPRESA",               // 35
    "DATA_ISCRIZIONE_CCIAA_IMPRESA",                     // 36
    "LETTERE_CONTRATTO",                                 // 37
    "NOME_DIRETTORE_TECNICO_IMPRESA",                    // 38
    "COGNOME_DIRETTORE_TECNICO_IMPRESA",                 // 39
    "LUOGO_NASCITA_DIRETTORE_TECNICO_IMPRESA",           // 40
    "DATA_NASCITA_DIRETTORE_TECNICO_IMPRESA",            // 41
    "IMPORTO_LAVORI_NETTO_IVA",                          // 42
    "PERCENTUALE_RIBASSO",                               // 43
    "ONERI_SICUREZZA_NETTO_IVA",                         // 44
    "ONERI_DISCARICA_NETTO_IVA",                         // 45
    "TOTALE_APPALTO",                                    // 46
    "ONERI_PARTI_COMUNI",                                // 47
    "ONERI_PARTI_PRIVATE",                               // 48
    "PERCENTUALE_VERSAMENTO_ANTICIPAZIONE",              // 49
    "TOTALE_RECUPERO_ANTICIPAZIONE",                     // 50
    "IBAN_BANCA_IMPRESA",                                // 51
    "BANCA_IMPRESA",                                     // 52
    "AGENZIA_BANCA_IMPRESA",                             // 53
    "DELEGATO_IMPRESA_PAGAMENTI",                        // 54
    "DURATA_LAVORI_GIORNI",                              // 55
    "PENALE_GIORNALIERA",                                // 56
    "MASSIMALE_CAR",                                     // 57
    "ALTRI_ONERI",                                       // 58
    "FORNITURA_ACQUA",                                   // 59
    "LICENZE_APPALTATORE",                               // 60
    "ARTICOLO_9_ALTRO",                                  // 61
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",  // 62..81
    "DATA_CONTRATTO",                                    // 82
};

constexpr std::array<std::string_view, 7> CHIAVI_TITOLI = {
    "TITOLO_RICHIEDENTE",           "TITOLO_RAPPRESENTANTE_IMPRESA", "TITOLO_PROGETTISTA",
    "TITOLO_DIRETTORE_LAVORI",      "TITOLO_COORDINATORE_SICUREZZA", "TITOLO_ALTRO_INCARICO",
    "TITOLO_DIRETTORE_TECNICO_IMPRESA"};

constexpr std::array<std::string_view, 17> CHIAVI_LAVORI = {
    "LAVORI_DELIBERATI_FACCIATE_SI_NO",
    "LAVORI_DELIBERATI_FASCIA_BASAMENTALE_SI_NO",
    "LAVORI_DELIBERATI_ELEMENTI_DECORATIVI_IN_FACCIATA_SI_NO",
    "LAVORI_DELIBERATI_CORTILE_SI_NO",
    "LAVORI_DELIBERATI_CASSA_SCALE_SI_NO",
    "LAVORI_DELIBERATI_ANDRONE_SI_NO",
    "LAVORI_DELIBERATI_LOCALI_CONDOMINIALI_SI_NO",
    "LAVORI_DELIBERATI_COPERTURA_SI_NO",
    "LAVORI_DELIBERATI_STRUTTURE_PORTANTI_SI_NO",
    "LAVORI_DELIBERATI_FONDAZIONI_SI_NO",
    "LAVORI_DELIBERATI_BARRIERE_ARCHITETTONICHE_SI_NO",
    "LAVORI_DELIBERATI_ALTRO_INTERVENTO_SI_NO",
    "LAVORI_DELIBERATI_IMPIANTO_ASCENSORE_SI_NO",
    "LAVORI_DELIBERATI_IMPIANTO_RISCALDAMENTO_SI_NO",
    "LAVORI_DELIBERATI_IMPIANTO_ELETTRICO_SI_NO",
    "LAVORI_DELIBERATI_IMPIANTO_SMALTIMENTO_ACQUE_SI_NO",
    "LAVORI_DELIBERATI_ALTRI_IMPIANTI_SI_NO"};

constexpr std::array<std::string_view, 11> CHIAVI_ALLEGATI = {
    "DELIBERA_CONDOMINIALE_NOMINA_AMMINISTRATORE",
    "DELIBERA_CONDOMINIALE_STIPULA_CONTRATTO_AMMINISTRATORE",
    "CERTIFICATO_CCIAA",
    "CAPITOLATO_APPALTO",
    "COMPUTO_METRICO",
    "ELENCO_PREZZI",
    "QUADRO_ECONOMICO",
    "DICHIARAZIONE_LAVORI_SUBAPPALTO",
    "POLIZZA_CAR",
    "POLIZZA_ASSICURATIVA_MANUTENZIONE",
    "CAUZIONE_A_GARANZIA"};

constexpr std::array<std::string_view, 3> CHIAVI_PERMESSO = {"DIA_SI_NO", "AUTORIZZAZIONE_COMUNE_DIRIDO",
                                                             "RELAZIONE_ASSEVERATA"};

bool e_casella_data(int i) {
    return std::find(CASELLE_DATA.begin(), CASELLE_DATA.end(), i) != CASELLE_DATA.end();
}

bool e_importo_o_vuoto(int i) { return i == 43 || i == 45 || i == 56 || i == 57; }

std::string chiave_articolo(int n) { return "ARTICOLO_" + std::to_string(n); }
std::string chiave_pezzo(int n, int k) {
    return "TESTO_ARTICOLO_" + std::to_string(n) + "_" + std::to_string(k);
}

std::size_t u(int i) { return static_cast<std::size_t>(i); }

bool solo_cifre(std::string_view t) {
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A date box's text as stored: eight digits for a date, "000000" for an
// empty box, "0" for the placeholder (anything that does not convert to a
// number). Only texts that data_ammessa accepted reach here.
std::string data_convertita(std::string_view testo) {
    std::string v = data_per_archivio(testo);
    return solo_cifre(v) ? v : "0";
}

long long numero_data(std::string_view convertita) {
    long long n = 0;
    for (char c : convertita) {
        n = n * 10 + (c - '0');
        if (n > 99999999999LL) break;
    }
    return n;
}

// --- load helpers ---

void imposta_testo(StatoTesto& casella, const std::string& v) {
    casella.testo = togli_spazi(v).empty() ? std::string() : v;
}

bool uguali_senza_maiuscole(std::string_view a, std::string_view b) {
    return maiuscolo(togli_spazi(a)) == maiuscolo(togli_spazi(b));
}

// A stored value that is not in a fixed list is added to the list and
// selected, so that it is shown and the next save writes it back unchanged.
void seleziona_o_aggiungi(StatoCombo& combo, const std::string& v) {
    combo.voci.push_back(v);
    seleziona_voce(combo, static_cast<int>(combo.voci.size()) - 1);
}

void carica_titolo(StatoCombo& combo, const std::string& v) {
    int trovata = -1;
    for (std::size_t i = 0; i < combo.voci.size(); ++i)
        if (uguali_senza_maiuscole(combo.voci[i], v)) {
            trovata = static_cast<int>(i);
            break;
        }
    seleziona_voce(combo, trovata);
    combo.testo = v;
}

void carica_municipalita(StatoCombo& combo, const std::string& v) {
    // The item that begins with the number followed by " - ": "1" never
    // selects "10 - ...".
    const std::string cercato = maiuscolo(togli_spazi(v + " - "));
    const std::size_t n = (v + " - ").size();
    for (std::size_t i = 0; i < combo.voci.size(); ++i) {
        std::string voce = combo.voci[i] + std::string(20, ' ');
        if (maiuscolo(togli_spazi(voce.substr(0, n))) == cercato) {
            seleziona_voce(combo, static_cast<int>(i));
            return;
        }
    }
    if (togli_spazi(v).empty())
        seleziona_voce(combo, -1);
    else
        seleziona_o_aggiungi(combo, v);
}

void carica_provincia(StatoCombo& combo, const std::string& v) {
    for (std::size_t i = 0; i < combo.voci.size(); ++i)
        if (uguali_senza_maiuscole(combo.voci[i], v)) {
            seleziona_voce(combo, static_cast<int>(i));
            return;
        }
    if (togli_spazi(v).empty())
        seleziona_voce(combo, -1);
    else
        seleziona_o_aggiungi(combo, v);
}


}  // namespace

void applica_archivio(ModelloContratto& m, const std::map<std::string, std::string>& archivio) {
    auto trova = [&](std::string_view chiave) -> const std::string* {
        auto it = archivio.find(std::string(chiave));
        return it == archivio.end() ? nullptr : &it->second;
    };

    for (std::size_t i = 0; i < CHIAVI_TITOLI.size(); ++i)
        if (auto v = trova(CHIAVI_TITOLI[i])) carica_titolo(m.combo2[i], *v);

    for (int i = 0; i < NUMERO_TESTI; ++i) {
        if (CHIAVI_TESTI[u(i)].empty()) continue;
        auto v = trova(CHIAVI_TESTI[u(i)]);
        if (!v) continue;
        if (e_casella_data(i)) {
            // The permit date is stored empty whenever the authorisation is
            // not the chosen permit; the box then shows what it showed
            // before, the placeholder, so that an untouched form comes back
            // as it was saved.
            if (*v == "0" || (i == 34 && v->empty()))
                m.text1[u(i)].testo = std::string(SEGNAPOSTO_DATA);
            else
                imposta_testo(m.text1[u(i)], data_da_archivio(*v));
        } else {
            imposta_testo(m.text1[u(i)], *v);
        }
    }

    if (auto v = trova("MUNICIPALITA_CONDOMINIO")) carica_municipalita(m.combo1, *v);
    if (auto v = trova("CCIAA")) carica_provincia(m.combo3, *v);

    for (std::size_t i = 0; i < CHIAVI_LAVORI.size(); ++i)
        if (auto v = trova(CHIAVI_LAVORI[i])) m.check3[i].valore = *v == "S" ? SPUNTATA : NON_SPUNTATA;

    for (std::size_t i = 0; i < CHIAVI_PERMESSO.size(); ++i)
        if (auto v = trova(CHIAVI_PERMESSO[i])) imposta_permesso(m, static_cast<int>(i), *v == "S");

    if (auto v = trova("SUBAPPALTO")) {
        const std::string s = maiuscolo(*v);
        if (s == "S")
            imposta_subappalto(m, 0, true);
        else if (s == "N")
            imposta_subappalto(m, 1, true);
        else
            imposta_subappalto(m, 0, false);
    }

    if (auto v = trova("ARTICOLO_11")) m.check1.valore = maiuscolo(*v) == "S" ? SPUNTATA : NON_SPUNTATA;

    for (int n = 13; n <= 22; ++n) {
        const int titolo = PRIMO_TITOLO_ARTICOLO + 2 * (n - 13);
        if (auto v = trova(chiave_articolo(n))) imposta_testo(m.text1[u(titolo)], *v);
        std::array<std::string, 4> pezzi;
        for (int k = 1; k <= 4; ++k)
            if (auto v = trova(chiave_pezzo(n, k))) pezzi[u(k - 1)] = togli_spazi(*v);
        // A damaged or foreign file may hold lone CR or LF; the form keeps
        // CR LF only, as the save writes it, so a loaded body saved unchanged
        // reloads the same.
        imposta_testo(m.text1[u(titolo + 1)], a_capo_crlf(unisci_testo_articolo(pezzi)));
    }

    // Box d) first: it opens (or clears) the other attachment boxes.
    std::array<const std::string*, 11> allegati{};
    for (std::size_t i = 0; i < CHIAVI_ALLEGATI.size(); ++i) allegati[i] = trova(CHIAVI_ALLEGATI[i]);
    const auto* d = allegati[u(ALLEGATO_CAPITOLATO)];
    if (d && *d == "S") {
        imposta_allegato(m, ALLEGATO_CAPITOLATO, SPUNTATA);
        for (int i = 0; i < 11; ++i)
            if (i != ALLEGATO_CAPITOLATO && allegati[u(i)] && *allegati[u(i)] == "S")
                imposta_allegato(m, i, SPUNTATA);
    } else {
        imposta_allegato(m, ALLEGATO_CAPITOLATO, NON_SPUNTATA);
    }

    if (m.text1[49].testo.empty()) m.text1[49].testo = "10";
    aggiorna_articoli(m);
}

bool carica_contratto(ModelloContratto& m, std::string_view tipo) {
    try {
        applica_archivio(m, leggi_archivio());
        scrivi_dato("TIPO_RICHIEDENTE", tipo);
    } catch (const std::exception& e) {
        mostra_avviso("Impossibile aprire il contratto: " + utf8_per_messaggio(e.what()));
        return false;
    }
    m.contratto_modificato = 0;
    return true;
}

std::optional<std::string> controlla_contratto(const ModelloContratto& m, int* casella_errata) {
    auto errata = [casella_errata](int casella, std::string messaggio) {
        if (casella_errata != nullptr) *casella_errata = casella;
        return std::optional<std::string>(std::move(messaggio));
    };
    struct Controllo {
        int casella;
        const char* messaggio;
    };
    static constexpr Controllo prima[] = {
        {4, "La Data di nascita del richiedente \xE8 errata!"},
        {6, "La Data della delibera condominiale per l'autorizzazione \xE8 errata !"},
        {9, "La Data della delibera condominiale per l'autorizzazione alla firma del contratto !"},
        {15, "La Data di nascita del rappresentante dell'impresa \xE8 errata!"},
        {21, "La Data della delibera condominiale per l'esecuzione \xE8 errata !"},
    };
    static constexpr Controllo dopo[] = {
        {36, "La Data della iscrizione impresa \xE8 errata !"},
        {41, "La Data nascita del direttore lavori \xE8 errata!"},
        {82, "La Data del documento \xE8 errata!"},
    };
    auto testo = [&](int i) -> const std::string& { return m.text1[u(i)].testo; };

    for (const auto& c : prima)
        if (!data_ammessa(testo(c.casella))) return errata(c.casella, c.messaggio);
    if (m.option1[1]) {
        if (togli_spazi(testo(33)).empty())
            return errata(33, "Devo conoscere la disposizione dirigenziale del Comune di Rezevi!");
        if (!data_ammessa(testo(34))) return errata(34, "La Data della disposizione dirigenziale \xE8 errata!");
    }
    for (const auto& c : dopo)
        if (!data_ammessa(testo(c.casella))) return errata(c.casella, c.messaggio);

    const long long contratto = numero_data(data_convertita(testo(82)));
    auto successiva = [&](int casella) {
        const long long d = numero_data(data_convertita(testo(casella)));
        return contratto != 0 && d != 0 && d > contratto;
    };
    if (successiva(6))
        return errata(6, "La Data della delibera condominiale per l'autorizzazione dei lavori non pu\xF2 "
                                 "essere successiva a quella del contratto !");
    if (successiva(21))
        return errata(21, "La Data della delibera condominiale per l'esecuzione dei lavori non pu\xF2 "
                                 "essere successiva a quella del contratto!");
    if (successiva(9))
        return errata(9, "La Data della delibera condominiale per l'autorizzazione dei lavori non pu\xF2 "
                                 "essere successiva a quella del contratto!");

    // A body that the four stored pieces cannot hold whole would be cut
    // without a word: refuse it while the user can still shorten it.
    // The count is of what the user deletes in the box, where a line break
    // is one character; the form leaves the cursor where what can be stored
    // ends, so the message says so: Backspace there takes from the part
    // that fits, Delete from what does not.
    for (int n = 13; n <= 22; ++n) {
        const int corpo = PRIMO_TITOLO_ARTICOLO + 2 * (n - 13) + 1;
        const std::size_t da_togliere = parte_memorizzabile(testo(corpo)).da_togliere;
        if (da_togliere > 0)
            return errata(corpo, "Il testo dell'articolo " + std::to_string(n) +
                                     " \xE8 troppo lungo per essere salvato per intero: accorciarlo di " +
                                     (da_togliere == 1 ? std::string("un carattere")
                                                       : std::to_string(da_togliere) + " caratteri") +
                                     ": ci\xF2 che si pu\xF2 salvare finisce dove \xE8 il cursore.");
    }
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> coppie_contratto(const ModelloContratto& m,
                                                                  std::string_view tipo) {
    std::vector<std::pair<std::string, std::string>> coppie;
    coppie.reserve(156);
    auto metti = [&](std::string_view chiave, std::string valore) {
        coppie.emplace_back(std::string(chiave), std::move(valore));
    };
    auto testo = [&](int i) {
        const std::string& t = m.text1[u(i)].testo;
        std::string valore;
        if (i == 34)
            valore = m.option1[1] ? data_convertita(t) : std::string();
        else if (e_casella_data(i))
            valore = data_convertita(t);
        else if (e_importo_o_vuoto(i)) {
            const std::string s = togli_spazi(t);
            valore = (s.empty() || s == ",") ? std::string() : t;
        } else
            valore = t;
        metti(CHIAVI_TESTI[u(i)], std::move(valore));
    };
    auto titolo = [&](int i) { metti(CHIAVI_TITOLI[u(i)], m.combo2[u(i)].testo); };
    auto spunta = [](const StatoSpunta& c) { return std::string(c.valore == SPUNTATA ? "S" : "N"); };
    auto lavori = [&](int i) { metti(CHIAVI_LAVORI[u(i)], spunta(m.check3[u(i)])); };
    auto sn = [](bool b) { return std::string(b ? "S" : "N"); };

    titolo(0);
    metti("TIPO_RICHIEDENTE", std::string(tipo));
    for (int i = 0; i <= 4; ++i) testo(i);
    {
        const std::string& t = m.combo1.testo;
        const auto pos = t.find(" - ");
        metti("MUNICIPALITA_CONDOMINIO", pos == std::string::npos ? t : t.substr(0, pos));
    }
    for (int i = 5; i <= 10; ++i) testo(i);
    titolo(1);
    for (int i = 11; i <= 21; ++i) testo(i);
    for (int i = 0; i <= 11; ++i) lavori(i);
    testo(22);
    for (int i = 12; i <= 16; ++i) lavori(i);
    testo(23);
    titolo(2);
    testo(24);
    testo(25);
    titolo(3);
    testo(26);
    testo(27);
    titolo(4);
    testo(28);
    testo(29);
    testo(30);
    titolo(5);
    testo(31);
    testo(32);
    metti(CHIAVI_PERMESSO[0], sn(m.option1[0]));
    metti(CHIAVI_PERMESSO[1], sn(m.option1[1]));
    testo(33);
    testo(34);
    metti(CHIAVI_PERMESSO[2], sn(m.option1[2]));
    metti("CCIAA", m.combo3.testo);
    testo(35);
    testo(36);
    testo(37);
    titolo(6);
    testo(39);
    testo(38);
    testo(40);
    testo(41);
    for (int i = 42; i <= 56; ++i) testo(i);
    metti("SUBAPPALTO", m.option3[0] ? "S" : m.option3[1] ? "N" : "");
    for (int i = 57; i <= 61; ++i) testo(i);
    metti("ARTICOLO_11", spunta(m.check1));
    for (int n = 13; n <= 22; ++n) {
        const int b = PRIMO_TITOLO_ARTICOLO + 2 * (n - 13);
        metti(chiave_articolo(n), m.text1[u(b)].testo);
        auto pezzi = dividi_testo_articolo(m.text1[u(b + 1)].testo);
        for (int k = 1; k <= 4; ++k) metti(chiave_pezzo(n, k), pezzi[u(k - 1)]);
    }
    for (std::size_t i = 0; i < CHIAVI_ALLEGATI.size(); ++i) metti(CHIAVI_ALLEGATI[i], spunta(m.check2[i]));
    testo(82);
    return coppie;
}

bool salva(ModelloContratto& m, std::string_view tipo, int* casella_errata) {
    if (auto errore = controlla_contratto(m, casella_errata)) {
        mostra_avviso(*errore);
        return false;
    }
    try {
        scrivi_dati(coppie_contratto(m, tipo));
    } catch (const std::exception& e) {
        mostra_avviso("Salvataggio non riuscito, il contratto non \xE8 stato salvato: " +
                      utf8_per_messaggio(e.what()));
        return false;
    }
    m.contratto_modificato = 0;
    return true;
}
