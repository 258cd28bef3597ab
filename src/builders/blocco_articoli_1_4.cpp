#include <charconv>

#include "builders/blocchi_contratto.h"
#include "builders/testi_articoli_1_4.h"
#include "builders/testo_cp1252.h"
#include "common/cp1252.h"
#include "common/date.h"
#include "common/numeri.h"

using contratto::importo;
using contratto::tra_virgolette;
using testi::cp1252;

namespace {

void intestazione_articolo(Impaginatore& imp, std::string_view numero, std::string_view titolo) {
    imp.grassetto();
    imp.blocco_e_controllo(ALLINEA_CENTRO, 0.5f, numero);
    imp.blocco_e_controllo(ALLINEA_CENTRO, 0.5f, titolo);
    imp.normale();
}

// The sum of the three amounts as the contract printed them (already rounded
// to cents). A blank amount adds nothing; so does one that is not a number.
std::string ammontare_totale(ValoriContratto& v) {
    double totale = 0;
    for (auto chiave : {"IMPORTO_LAVORI_NETTO_IVA", "ONERI_SICUREZZA_NETTO_IVA", "ONERI_DISCARICA_NETTO_IVA"}) {
        if (togli_spazi(v[chiave]).empty()) continue;
        if (auto numero = valore_numerico(v[chiave])) totale += *numero;
    }
    char testo[512];  // the largest double in fixed notation fits
    auto [fine, errore] = std::to_chars(testo, testo + sizeof testo, totale, std::chars_format::fixed, 2);
    if (errore != std::errc()) return "0";
    std::string risultato(testo, fine);
    for (auto& c : risultato)
        if (c == '.') c = ',';
    return risultato;
}

// "#0.00": two decimals and a decimal comma, the value itself not changed.
std::string due_decimali(const std::string& valore) {
    std::string copia = valore;
    return formatta_numero(copia, 2);
}

void articolo_1(Impaginatore& imp) {
    intestazione_articolo(imp, "ART. 1", "Recepimento  della narrativa");
    imp.paragrafo_con_spazio(cp1252(testi::ART1_RECEPIMENTO));
}

void articolo_2(Impaginatore& imp, ValoriContratto& v) {
    intestazione_articolo(imp, "ART. 2", "Affidamento dei lavori.  Ammontare dell'appalto");
    imp.paragrafo_con_spazio("Il/La " + v.nominativo_richiedente + cp1252(testi::ART2_QUALITA_COMMITTENTE) +
                             v["INDIRIZZO_CONDOMINIO"] + ".");
    imp.grassetto();
    imp.blocco_e_controllo(ALLINEA_CENTRO, 0.5f, "AFFIDA");
    imp.normale();
    imp.paragrafo_con_spazio(
        "alla Impresa " + v["RAGIONE_SOCIALE_IMPRESA"] + " (di seguito anche denominata " +
        tra_virgolette("Appaltatore") +
        cp1252(") che,  a mezzo del costituito legale rappresentante, si obbliga legalmente e formalmente ad "
               "eseguirle a perfetta regola d'arte e senza eccezione alcuna, le opere e le provviste oggetto del "
               "presente contratto ai patti, prezzi e condizioni stabiliti nello stesso, nel Capitolato Speciale "
               "d'Appalto e nel computo metrico estimativo ed allegato quadro economico  con il ribasso accordato "
               "sulle singole voci di prezzo, come da allegata  offerta prezzi unitari, che, firmati in segno di "
               "accettazione dalle parti contraenti, si allegano al presente contratto per farne parte integrante "
               "e sostanziale come se fossero qui di seguito letteralmente trascritti."));
    imp.paragrafo_senza_spazio(cp1252(testi::ART2_ELABORATI));
    imp.paragrafo_senza_spazio(cp1252("La conduzione dei lavori in argomento è dall'Appaltatore affidata a: ") +
                               v.nominativo_direttore_tecnico_impresa + ", nato a " +
                               v["LUOGO_NASCITA_DIRETTORE_TECNICO_IMPRESA"] + " il " +
                               data_da_archivio(v["DATA_NASCITA_DIRETTORE_TECNICO_IMPRESA"]) +
                               cp1252(testi::ART2_CONDUZIONE_FINE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART2_OSSERVANZA));
    imp.paragrafo_senza_spazio(cp1252(testi::ART2_AMMONTARE));

    const auto lavori = importo(v["IMPORTO_LAVORI_NETTO_IVA"]);
    const auto ribasso = importo(v["PERCENTUALE_RIBASSO"]);
    imp.paragrafo_senza_spazio(
        cp1252("a) €. ") + lavori.cifre + " (" + lavori.lettere + "), " +
        "per lavori a misura (ovvero a forfait, ovvero a forfait e a misura) al netto del ribasso del " +
        ribasso.cifre + "% (" + ribasso.lettere +
        cp1252(" per cento); detto valore rappresenta il ribasso medio ponderato offerto dall'impresa, rispetto "
               "all'ammontare posto a base di gara, risultante dall'applicazione dei singoli ribassi sui prezzi "
               "offerti dall'impresa alle quantità presunte da realizzarsi indicate nel computo metrico che forma "
               "parte integrante del presente contratto;"));
    const auto sicurezza = importo(v["ONERI_SICUREZZA_NETTO_IVA"]);
    imp.paragrafo_senza_spazio(cp1252("b) €. ") + sicurezza.cifre + " (" + sicurezza.lettere +
                               "), per oneri per la sicurezza non soggetti a ribasso;");
    const auto discarica = importo(v["ONERI_DISCARICA_NETTO_IVA"]);
    imp.paragrafo_senza_spazio(cp1252("c) €. ") + discarica.cifre + " (" + discarica.lettere +
                               "), per oneri di discarica materiali di risulta non soggetti a ribasso;");
    std::string totale_testo = ammontare_totale(v);
    const auto totale = importo(totale_testo);
    imp.paragrafo_senza_spazio(cp1252("per un ammontare totale dell'appalto pari a € ") + totale.cifre +
                               " (diconsi " + totale.lettere + "), di cui:");
    const auto comuni = importo(v["ONERI_PARTI_COMUNI"]);
    imp.paragrafo_senza_spazio(cp1252("1. €. ") + comuni.cifre + " (" + comuni.lettere +
                               "), per lavori relativi alle parti comuni dell'edificio con ripartizione pro-quota "
                               "per i singoli proprietari;");
    const auto private_ = importo(v["ONERI_PARTI_PRIVATE"]);
    imp.paragrafo_senza_spazio(cp1252("2. €. ") + private_.cifre + " (" + private_.lettere +
                               "), per eventuali lavori relativi alle parti private ammissibili.");
    imp.paragrafo_senza_spazio(cp1252(testi::ART2_IMPORTI_PRESUNTI));
}

void articolo_3(Impaginatore& imp, ValoriContratto& v) {
    intestazione_articolo(imp, "ART. 3", "Pagamenti");
    // The percentage in figures keeps the stored value; its words spell the
    // value as stored.
    const std::string percentuale = due_decimali(v["PERCENTUALE_VERSAMENTO_ANTICIPAZIONE"]);
    const std::string percentuale_lettere = importo_in_lettere(v["PERCENTUALE_VERSAMENTO_ANTICIPAZIONE"]);
    const auto recupero = importo(v["TOTALE_RECUPERO_ANTICIPAZIONE"]);
    imp.paragrafo_con_spazio(
        "I pagamenti in favore dell'impresa prevedono il versamento di un'anticipazione nella misura minima del " +
        percentuale + "% (" + percentuale_lettere +
        cp1252(" per cento) da effettuarsi all'atto dell'effettivo inizio dei lavori, previa certificazione della "
               "Direzione Lavori, nonché la corresponsione di  acconti, dipendenti dalla esecuzione dell'appalto in "
               "argomento, che saranno effettuati ogni qualvolta il credito dell'Appaltatore, al netto del ribasso "
               "d'asta e delle  ritenute per il recupero della anticipazione, raggiunga la cifra di € ") +
        recupero.cifre);
    imp.paragrafo_senza_spazio(cp1252(testi::ART3_CAUZIONE_ANTICIPAZIONE));
    imp.paragrafo_senza_spazio(
        cp1252("I predetti pagamenti saranno disposti sulla base di certificati di pagamento corredati dei relativi "
               "stati di avanzamento redatti ed emessi dalla Direzione dei Lavori che verrà espletata da ") +
        v.nominativo_direttore_lavori + " all'uopo nominato dal committente. ");
    imp.paragrafo_senza_spazio(
        cp1252("I pagamenti, previo recupero pro-quota  della disposta anticipazione, verranno effettuati entro trenta "
               "giorni dall'emissione dei suddetti certificati mediante ordinativi diretti emessi (unicamente dal "
               "soggetto indicato dall'art. 2 come il committente) a favore dell'Impresa ed esigibili mediante "
               "accreditamento da parte del committente, ") +
        "sul conto corrente bancario con IBAN " + v["IBAN_BANCA_IMPRESA"] + " presso istituto " + v["BANCA_IMPRESA"] +
        " agenzia " + v["AGENZIA_BANCA_IMPRESA"] + cp1252(" intestato alla società ") + v["RAGIONE_SOCIALE_IMPRESA"] +
        " con spese a carico del committente.");
    imp.paragrafo_senza_spazio(cp1252("Gli avvisi di avvenuta emissione dei titoli di spesa saranno inviati al "
                                      "seguente recapito postale: Società  ") +
                               v["RAGIONE_SOCIALE_IMPRESA"] + " " + v["INDIRIZZO_IMPRESA"] + " " +
                               v["COMUNE_IMPRESA"] + ".");
    imp.paragrafo_senza_spazio(cp1252("La persona (o le persone) autorizzata/te  dall'Appaltatore a riscuotere, "
                                      "ricevere, o quietanzare le somme dovute in conto ed a saldo è/sono  il/i  "
                                      "sig./sigg. ") +
                               v["DELEGATO_IMPRESA_PAGAMENTI"] + ".");
    imp.paragrafo_senza_spazio(cp1252(testi::ART3_CESSAZIONE_INCARICO_1) + tra_virgolette("ope legis") +
                               cp1252(testi::ART3_CESSAZIONE_INCARICO_2));
    imp.paragrafo_senza_spazio(cp1252(testi::ART3_RATA_SALDO));
    imp.paragrafo_senza_spazio(cp1252(testi::ART3_INTERESSI));
    imp.paragrafo_senza_spazio(cp1252(testi::ART3_SOLO_COMMITTENTE));
}

void articolo_4(Impaginatore& imp, ValoriContratto& v) {
    intestazione_articolo(imp, "ART. 4", "Tempo e prezzi per l'esecuzione delle opere. Varianti.");
    const std::string giorni = togli_spazi(v["DURATA_LAVORI_GIORNI"]);
    const std::string giorni_lettere = numero_in_lettere(v["DURATA_LAVORI_GIORNI"]);
    const auto penale = importo(v["PENALE_GIORNALIERA"]);
    imp.paragrafo_senza_spazio(
        cp1252("Il tempo utile per dare ultimati i lavori è fissato in giorni naturali e consecutivi ") + giorni +
        " (" + giorni_lettere +
        cp1252(") decorrenti dalla data del verbale di consegna. In caso di ritardo sarà applicata una penale "
               "giornaliera di:") +
        cp1252("€ ") + penale.cifre + cp1252(" (diconsi  € ") + penale.lettere + ").");
    imp.paragrafo_senza_spazio(cp1252(testi::ART4_TEMPO_CONGRUENTE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART4_RITARDO));
    imp.paragrafo_senza_spazio(cp1252(testi::ART4_PREZZI_FISSI));
    imp.paragrafo_senza_spazio(cp1252(testi::ART4_REVISIONE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART4_NUOVE_PRESTAZIONI));
    imp.paragrafo_senza_spazio(cp1252(testi::ART4_VALUTAZIONE_VARIANTI));
    imp.paragrafo_senza_spazio(cp1252(testi::ART4_CONTABILIZZAZIONE));
    imp.paragrafo_senza_spazio(cp1252(testi::ART4_PREZZARIO));
    imp.paragrafo_senza_spazio(cp1252(testi::ART4_NUOVI_PREZZI));
    imp.paragrafo_senza_spazio(cp1252(testi::ART4_CONTRIBUTO_INVARIATO));
    imp.paragrafo_senza_spazio(cp1252(testi::ART4_RIBASSO_VARIANTI));
    imp.grassetto();
}

}  // namespace

void scrivi_articoli_1_4(Impaginatore& imp, ValoriContratto& valori) {
    articolo_1(imp);
    articolo_2(imp, valori);
    articolo_3(imp, valori);
    articolo_4(imp, valori);
}
