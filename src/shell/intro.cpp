#include "shell/intro.h"

#include <algorithm>

#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "common/cp1252.h"
#include "common/dati.h"
#include "shell/crea_contratto.h"
#include "shell/help_intro.h"
#include "sign/form/modulo_cartellone.h"
#include "ui/controlli.h"
#include "ui/gruppo_opzioni.h"
#include "ui/messaggi_ui.h"
#include "ui/protetto.h"
#include "ui/scorciatoie_pulsanti.h"
#include "ui/testo.h"

namespace {

Intro::Azioni azioni_predefinite() {
    Intro::Azioni azioni;
    azioni.apri_contratto = [](TipoContratto tipo, std::function<void()> torna) {
        return apri_contratto(tipo, std::move(torna));
    };
    azioni.scegli_cartella = [](QWidget* padre, CostruttoreContratto costruttore) {
        crea_contratto finestra(std::move(costruttore), padre);
        finestra.exec();
    };
    azioni.costruttore = costruttore_per_tipo;
    azioni.apri_cartellone = [](std::function<void()> torna) { return apri_cartellone(std::move(torna)); };
    return azioni;
}

QString nome_tipo(TipoRichiedente tipo) {
    switch (tipo) {
        case TipoRichiedente::Amministratore: return QStringLiteral("condominio");
        case TipoRichiedente::Proprietario: return QStringLiteral("proprietario unico");
        case TipoRichiedente::Comproprietario: return QStringLiteral("comproprietari");
        case TipoRichiedente::Nessuno: break;
    }
    return {};
}

TipoRichiedente tipo_della_scelta(int scelta) {
    switch (scelta) {
        case Intro::Condominio: return TipoRichiedente::Amministratore;
        case Intro::Proprietario: return TipoRichiedente::Proprietario;
        case Intro::Comproprietari: return TipoRichiedente::Comproprietario;
        default: return TipoRichiedente::Nessuno;
    }
}

int scelta_del_tipo(TipoRichiedente tipo) {
    switch (tipo) {
        case TipoRichiedente::Amministratore: return Intro::Condominio;
        case TipoRichiedente::Proprietario: return Intro::Proprietario;
        case TipoRichiedente::Comproprietario: return Intro::Comproprietari;
        case TipoRichiedente::Nessuno: break;
    }
    return -1;
}

// Choices that exist in this version: the condominium contract is shown but
// cannot be chosen yet.
bool scelta_disponibile(int scelta) { return scelta != Intro::Condominio; }

}  // namespace

Intro::Intro(QWidget* padre) : Intro(azioni_predefinite(), padre) {}

Intro::Intro(Azioni azioni, QWidget* padre) : QWidget(padre), azioni_(std::move(azioni)) {
    const Azioni predefinite = azioni_predefinite();
    if (!azioni_.apri_contratto) azioni_.apri_contratto = predefinite.apri_contratto;
    if (!azioni_.scegli_cartella) azioni_.scegli_cartella = predefinite.scegli_cartella;
    if (!azioni_.costruttore) azioni_.costruttore = predefinite.costruttore;
    if (!azioni_.apri_cartellone) azioni_.apri_cartellone = predefinite.apri_cartellone;
    installa_scorciatoie_pulsanti();
    costruisci();
}

void Intro::costruisci() {
    setWindowTitle(TITOLO_PROGRAMMA);

    auto* titolo = new QLabel(QStringLiteral("CONTRATTO DI APPALTO"), this);
    QFont grande = titolo->font();
    grande.setPointSizeF(grande.pointSizeF() * 1.6);
    grande.setBold(true);
    titolo->setFont(grande);
    titolo->setAlignment(Qt::AlignCenter);
    auto* sottotitolo = new QLabel(
        QStringLiteral("Programma di contributi per il recupero delle parti comuni degli edifici\n"
                       "dei centri storici e delle periferie"),
        this);
    sottotitolo->setAlignment(Qt::AlignCenter);

    scelte_ = new GruppoOpzioni(this);
    auto* cornice = new QGroupBox(QStringLiteral("Tipo di richiedente"), this);
    auto* colonna = new QVBoxLayout(cornice);
    // The choices this version does not have say so, rather than sit there
    // greyed out with no reason given.
    const QString testi[] = {
        QStringLiteral("Condominio (amministratore) - non disponibile in questa versione"),
        QStringLiteral("Proprietario unico - si compila il modulo, il documento non è ancora disponibile"),
        QStringLiteral("Comproprietari (delegato dei proprietari)"),
    };
    for (const QString& testo : testi) {
        auto* opzione = new PulsanteOpzione(testo, cornice);
        scelte_->aggiungi(opzione);
        colonna->addWidget(opzione);
    }
    auto* cornice_cartellone = new QGroupBox(QStringLiteral("Cantiere"), this);
    auto* colonna_cartellone = new QVBoxLayout(cornice_cartellone);
    auto* cartellone = new PulsanteOpzione(
        QStringLiteral("Cartellone di cantiere"), cornice_cartellone);
    scelte_->aggiungi(cartellone);
    colonna_cartellone->addWidget(cartellone);

    prosegui_ = new QPushButton(QStringLiteral("&Prosegui"), this);
    stampa_ = new QPushButton(QStringLiteral("&Stampa Dati"), this);
    auto* guida = new QPushButton(QStringLiteral("&Aiuto"), this);
    auto* esci = new QPushButton(QStringLiteral("&Esci"), this);
    prosegui_->setDefault(true);

    connect(prosegui_, &QPushButton::clicked, this, [this] { esegui_protetto(this, [this] { prosegui(); }); });
    connect(stampa_, &QPushButton::clicked, this,
            [this] { esegui_protetto(this, [this] { stampa_dati_e_genera(); }); });
    connect(guida, &QPushButton::clicked, this, [this] { mostra_guida(); });
    connect(esci, &QPushButton::clicked, this, &QWidget::close);

    auto* riga = new QHBoxLayout;
    riga->addWidget(guida);
    riga->addStretch();
    riga->addWidget(prosegui_);
    riga->addWidget(stampa_);
    riga->addWidget(esci);

    nota_ = new QLabel(this);
    nota_->setObjectName(QStringLiteral("nota_menu"));
    nota_->setWordWrap(true);
    nota_->setFrameShape(QFrame::StyledPanel);
    nota_->setMargin(6);
    nota_->hide();

    auto* linea = new QFrame(this);
    linea->setFrameShape(QFrame::HLine);
    linea->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(12);
    layout->addWidget(titolo);
    layout->addWidget(sottotitolo);
    layout->addWidget(linea);
    layout->addWidget(cornice);
    layout->addWidget(cornice_cartellone);
    layout->addWidget(nota_);
    layout->addSpacing(6);
    layout->addLayout(riga);
    setFixedWidth(std::max(sizeHint().width(), 560));
    adatta_altezza();
    ordina_tabindex(this);
    centra_form(this);
}

PulsanteOpzione* Intro::scelta(Scelta s) const { return scelte_->pulsante(s); }

void Intro::keyPressEvent(QKeyEvent* evento) {
    // Enter presses the button drawn as the default, "Prosegui", whichever
    // control has the focus (the focused button is pressed with Space or its
    // Alt letter): the focus moves by itself while the menu rereads the
    // store, and Enter must not follow it to "Stampa Dati".
    if ((evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) &&
        !(evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        prosegui_->click();
        evento->accept();
        return;
    }
    QWidget::keyPressEvent(evento);
}

void Intro::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    // A window restored by the window system keeps the user's choice; the
    // menu opened by the program reads the store again.
    if (!evento->spontaneous()) {
        esegui_protetto(this, [this] { aggiorna_stato(); });
        centra_form(this);  // its height follows the note
    }
}

void Intro::aggiorna_stato() {
    // Until the store has been read nothing may be chosen: a store that
    // cannot be read leaves the menu with no way into a form. Disabling the
    // focused control moves the focus on; it goes back afterwards.
    QWidget* const focus = focusWidget();
    for (int i = 0; i < scelte_->conteggio(); ++i) scelte_->pulsante(i)->setEnabled(false);
    scelte_->seleziona(-1);
    prosegui_->setEnabled(false);
    nota_->setText(QStringLiteral("Il file dei dati non si può leggere: nessun contratto può essere aperto."));
    nota_->show();
    adatta_altezza();

    const auto archivio = leggi_archivio();
    const auto valore = [&](const char* chiave) {
        const auto trovato = archivio.find(chiave);
        return trovato == archivio.end() ? std::string() : togli_spazi(trovato->second);
    };
    chiuso_ = maiuscolo(valore("CONTRATTO_CHIUSO")) == "S";
    tipo_ = tipo_richiedente(valore("TIPO_RICHIEDENTE"));

    for (int i = 0; i < scelte_->conteggio(); ++i) {
        const bool contratto = i != Cartellone;
        scelte_->pulsante(i)->setEnabled(scelta_disponibile(i) && !(chiuso_ && contratto));
    }
    const int preselezione = chiuso_ ? -1 : scelta_del_tipo(tipo_);
    if (preselezione >= 0 && scelte_->pulsante(preselezione)->isEnabled()) scelte_->seleziona(preselezione);
    bool qualcosa = false;
    for (int i = 0; i < scelte_->conteggio(); ++i) qualcosa |= scelte_->pulsante(i)->isEnabled();
    prosegui_->setEnabled(qualcosa);

    if (chiuso_) {
        nota_->setText(QStringLiteral(
            "Il contratto è chiuso: il contratto definitivo è già stato generato e non può più essere "
            "modificato. Resta da preparare il cartellone di cantiere."));
    }
    nota_->setVisible(chiuso_);
    adatta_altezza();
    if (focus != nullptr && focus->isEnabled()) focus->setFocus(Qt::OtherFocusReason);
}

void Intro::adatta_altezza() {
    // The width is fixed; the height follows the note shown or hidden.
    layout()->activate();
    const int altezza =
        layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width()) : layout()->totalSizeHint().height();
    setFixedHeight(altezza);
}

void Intro::prosegui() {
    // A key that reaches the menu just after it made way for a form (the
    // window system still sending keys to it) belongs to the action taken.
    if (!isVisible()) return;
    const int scelta = scelte_->selezionato();
    if (scelta < 0 || !scelte_->pulsante(scelta)->isEnabled()) {
        avviso(this, chiuso_ ? QStringLiteral("Il contratto è chiuso: è possibile preparare solo il cartellone.")
                             : QStringLiteral("Scegliere il tipo di richiedente."));
        return;
    }
    if (scelta == Cartellone) {
        hide();
        bool aperto = false;
        const bool riuscito = esegui_protetto(this, [&] { aperto = azioni_.apri_cartellone([this] { show(); }); });
        if (!riuscito || !aperto) show();
        return;
    }
    const TipoRichiedente nuovo = tipo_della_scelta(scelta);
    if (tipo_ != TipoRichiedente::Nessuno && tipo_ != nuovo) {
        // The form stores its kind as it opens: the question says so.
        const QString domanda =
            QStringLiteral("Il contratto salvato è per %1. Proseguendo, il contratto diventa subito un contratto "
                           "per %2, appena si apre il modulo e anche senza salvare; il modulo mostra i dati già "
                           "inseriti.\nSovrascrivere?")
                .arg(nome_tipo(tipo_), nome_tipo(nuovo));
        if (!chiedi_si_no(this, QStringLiteral("Sovrascrivere"), domanda, Risposta::No)) return;
    }
    const TipoContratto tipo =
        nuovo == TipoRichiedente::Proprietario ? TipoContratto::Proprietario : TipoContratto::Comproprietario;
    hide();
    bool aperto = false;
    const bool riuscito = esegui_protetto(this, [&] {
        aperto = azioni_.apri_contratto(tipo, [this] { show(); });
    });
    if (!riuscito || !aperto) show();
}

void Intro::stampa_dati_e_genera() {
    if (!isVisible()) return;
    const auto archivio = leggi_archivio();
    const auto trovato = archivio.find("TIPO_RICHIEDENTE");
    const TipoRichiedente tipo = tipo_richiedente(trovato == archivio.end() ? std::string() : trovato->second);
    CostruttoreContratto costruttore = azioni_.costruttore(tipo);
    // A kind with no document is told first, before a list of missing items
    // the user would fill in for nothing.
    if (!costruttore && tipo != TipoRichiedente::Nessuno) {
        avviso(this, QStringLiteral("Il contratto per %1 non è disponibile in questa versione.").arg(nome_tipo(tipo)));
        return;
    }
    if (const auto mancante = stampa_dati(archivio)) {
        avviso(this, da_cp1252(*mancante));
        return;
    }
    if (!costruttore) return;
    azioni_.scegli_cartella(this, std::move(costruttore));
    // A generation that did not end the program may still have changed the
    // store (it never does on failure, but the menu shows what is stored).
    aggiorna_stato();
}

void Intro::mostra_guida() {
    Help_intro guida(this);
    guida.exec();
}
