#include "shell/avvio.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include "common/blocco_istanza.h"
#include "common/cartelle.h"
#include "common/dati.h"
#include "common/errori_sistema.h"
#include "shell/intro.h"
#include "ui/messaggi_ui.h"
#include "ui/protetto.h"

std::unique_ptr<BloccoIstanza> blocca_istanza() {
    auto blocco = std::make_unique<BloccoIstanza>();
    if (blocco->acquisito()) {
        // No save or document of ours is being written now: work files left
        // by one that was killed can go.
        for (const char* nome : {NOME_FILE_DATI, NOME_BOZZA, NOME_CARTELLONE}) rimuovi_avanzi(cartella_dati() / nome);
        return blocco;
    }
    if (const int errore = blocco->errore_apertura(); errore != 0) {
        avviso(nullptr, QStringLiteral("Il programma non può lavorare nella cartella dei dati \"%1\": "
                                       "impossibile creare il file %2 (%3).")
                            .arg(QFile::decodeName(blocco->file().parent_path().c_str()),
                                 QFile::decodeName(blocco->file().filename().c_str()),
                                 QString::fromStdString(descrizione_errore(errore))));
        return nullptr;
    }
    avviso(nullptr, QStringLiteral("Il programma Contratto di appalto è già aperto: "
                                   "si può usare una sola copia alla volta."));
    return nullptr;
}

std::unique_ptr<BloccoIstanza> prepara_avvio() {
    std::optional<std::string> spostati;
    try {
        spostati = prepara_cartella_dati();
    } catch (const ErroreDati& errore) {
        avviso(nullptr, QString::fromUtf8(errore.what()));
        return nullptr;
    }
    auto blocco = blocca_istanza();
    if (blocco && spostati) avviso(nullptr, QString::fromStdString(*spostati));
    return blocco;
}

int esegui_programma() {
    int codice = 1;
    esegui_protetto(nullptr, [&] {
        imposta_cartelle(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString(), {});
        // Qt's own texts (context menus of the boxes) in Italian when the
        // translations are installed; English otherwise.
        QTranslator traduzione;
        if (traduzione.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&traduzione);
        const auto blocco = prepara_avvio();
        if (!blocco) return;
        installa_gestore_messaggi();
        Intro intro;
        intro.show();
        codice = QApplication::exec();
    });
    return codice;
}
