#include "builders/mostra_documento.h"

#include "common/messaggi.h"
#include "common/visualizzatore.h"

void mostra_documento(const std::filesystem::path& file) {
    if (trova_apertura().empty()) {
        mostra_avviso(messaggio_senza_visualizzatore(file));
        return;
    }
    const AperturaAvviata avviata = avvia_apertura(file);
    if (avviata.errore != 0) {
        mostra_avviso(messaggio_senza_visualizzatore(file, perche_apertura_non_avviata(avviata.errore)));
        return;
    }
    osserva_apertura(avviata.esito, file);
}
