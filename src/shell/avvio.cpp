#include "shell/avvio.h"

#include <QApplication>

#include "common/blocco_istanza.h"
#include "common/cartelle.h"
#include "shell/intro.h"
#include "ui/messaggi_ui.h"
#include "ui/protetto.h"

std::unique_ptr<BloccoIstanza> blocca_istanza() {
    auto blocco = std::make_unique<BloccoIstanza>();
    if (blocco->acquisito()) return blocco;
    avviso(nullptr, QStringLiteral("Il programma Contratto di appalto è già aperto: "
                                   "si può usare una sola copia alla volta."));
    return nullptr;
}

int esegui_programma() {
    int codice = 1;
    esegui_protetto(nullptr, [&] {
        imposta_cartelle(QCoreApplication::applicationDirPath().toStdString(), {});
        const auto blocco = blocca_istanza();
        if (!blocco) return;
        installa_gestore_messaggi();
        Intro intro;
        intro.show();
        codice = QApplication::exec();
    });
    return codice;
}
