// The contract-like wording the writer benchmarks lay out: one set of
// sentences, so every benchmark measures the same text.
#pragma once

#include <iterator>

namespace bench {

inline const char* const kContractSentences[] = {
    "L'appaltatore si obbliga a eseguire i lavori a regola d'arte, secondo il progetto e le prescrizioni "
    "della direzione dei lavori, impiegando materiali di prima qualit\xE0.",
    "Il corrispettivo \xE8 stabilito a corpo e comprende ogni onere per mano d'opera, noli, trasporti e "
    "quanto occorre per dare l'opera compiuta.",
    "I pagamenti avverranno per stati di avanzamento, previa verifica delle opere eseguite e "
    "trattenuta di garanzia nella misura pattuita.",
    "Le parti eleggono domicilio presso le rispettive sedi indicate in epigrafe per ogni comunicazione "
    "relativa al presente contratto.",
    "Ogni modifica al presente contratto dovr\xE0 risultare da atto scritto sottoscritto da entrambe le parti.",
    "Il ritardo nell'ultimazione dei lavori comporta una penale giornaliera pari all'uno per mille "
    "dell'importo contrattuale.",
};

}  // namespace bench
