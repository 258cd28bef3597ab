#include "contract_forms/apertura.h"

#include "contract_forms/modulo_contratto.h"
#include "ui/controlli.h"
#include "ui/messaggi_ui.h"

bool apri_contratto(TipoContratto tipo, std::function<void()> torna_al_menu) {
    installa_gestore_messaggi();
    auto* modulo = new ModuloContratto(tipo, std::move(torna_al_menu));
    modulo->setAttribute(Qt::WA_DeleteOnClose);
    if (!modulo->carica()) {
        delete modulo;
        return false;
    }
    centra_form(modulo);
    modulo->show();
    seleziona_campo(modulo->text1(0));
    return true;
}
