#include "shell/avvio.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

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
        // Qt's own texts (context menus of the boxes) in Italian when the
        // translations are installed; English otherwise.
        QTranslator traduzione;
        if (traduzione.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&traduzione);
        const auto blocco = blocca_istanza();
        if (!blocco) return;
        installa_gestore_messaggi();
        Intro intro;
        intro.show();
        codice = QApplication::exec();
    });
    return codice;
}
