#include "contract_forms/modulo_contratto.h"

#include <algorithm>

#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include "builders/contratto_comproprietari.h"
#include "builders/contratto_proprietari.h"
#include "common/cartelle.h"
#include "common/cp1252.h"
#include "contract_forms/layout_fluido.h"
#include "contract_forms/paragrafi.h"
#include "contract_record/record_contratto.h"
#include "contract_record/testo_articolo.h"
#include "ui/casella_spunta.h"
#include "ui/casella_testo.h"
#include "ui/etichetta_a_capo.h"
#include "ui/controlli.h"
#include "ui/gruppo_opzioni.h"
#include "ui/messaggi_ui.h"
#include "ui/protetto.h"
#include "ui/rotella.h"
#include "ui/scorciatoie_pulsanti.h"
#include "ui/testo.h"


namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

const QString DOMANDA_MENU =
    QStringLiteral("Prima di tornare al menu, vuoi salvare le modifiche effettuate al contratto ?");

std::size_t u(int i) { return static_cast<std::size_t>(i); }

// The scrolled page's layout. The scroll area makes the page taller only
// after the page has laid itself out in its old height: every sentence
// would be squeezed and stretched back at once, and the whole view painted
// for one changed line. The page takes the height it needs first.
class LayoutPagina : public QVBoxLayout {
public:
    using QVBoxLayout::QVBoxLayout;

    void setGeometry(const QRect& rettangolo) override {
        QWidget* pagina = parentWidget();
        const int altezza = heightForWidth(rettangolo.width());
        if (pagina != nullptr && altezza > rettangolo.height()) {
            // The page's resize lays it out again at the new height.
            pagina->resize(pagina->width(), pagina->height() + altezza - rettangolo.height());
            if (pagina->height() >= altezza) return;
        }
        QVBoxLayout::setGeometry(rettangolo);
    }
};

const std::string& t(const ModelloContratto& m, int i) { return m.text1[u(i)].testo; }

}  // namespace

ModuloContratto::ModuloContratto(TipoContratto tipo, std::function<void()> torna_al_menu, QWidget* padre)
    : QWidget(padre), tipo_(tipo), torna_al_menu_(std::move(torna_al_menu)) {
    setWindowTitle(tipo_ == TipoContratto::Comproprietario
                       ? q("Contratto di appalto - comproprietari")
                       : q("Contratto di appalto - proprietario"));
    auto* esterno = new QVBoxLayout(this);
    auto* scorrimento = new QScrollArea(this);
    scorrimento->setWidgetResizable(true);
    // The page follows the window's width; only a window made narrower than
    // the widest input needs the horizontal bar, and then nothing is cut off.
    scorrimento->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    contenuto_ = new QWidget;
    contenuto_->setObjectName(QStringLiteral("pagina_contratto"));
    // The page paints nothing of its own: when a sentence grows only what
    // moved is painted again, not the whole visible page.
    contenuto_->setAttribute(Qt::WA_StaticContents);
    pagina_ = new LayoutPagina(contenuto_);
    pagina_->setSpacing(8);
    pagina_->setContentsMargins(24, 16, 24, 24);
    costruisci_pagina();
    pagina_->addStretch(1);
    scorrimento->setWidget(contenuto_);
    esterno->addWidget(scorrimento, 1);

    auto* pulsanti = new QHBoxLayout;
    salva_ = new QPushButton(q("&Salva"), this);
    bozza_ = new QPushButton(q("&Bozza"), this);
    menu_ = new QPushButton(q("&Menu"), this);
    aiuto_ = new QPushButton(q("&Aiuto"), this);
    pulsanti->addWidget(salva_);
    pulsanti->addWidget(bozza_);
    pulsanti->addStretch(1);
    pulsanti->addWidget(aiuto_);
    pulsanti->addWidget(menu_);
    esterno->addLayout(pulsanti);
    connect(salva_, &QPushButton::clicked, this, [this] { esegui_protetto(this, [this] { salva(); }); });
    connect(bozza_, &QPushButton::clicked, this, [this] { esegui_protetto(this, [this] { bozza(); }); });
    connect(menu_, &QPushButton::clicked, this, [this] { esegui_protetto(this, [this] { menu(); }); });
    connect(aiuto_, &QPushButton::clicked, this, [this] { aiuto(); });
    installa_scorciatoie_pulsanti();

    rotella_alla_pagina(this);
    resize(980, 720);
    mostra_modello(modello_iniziale());
}

// --- page building blocks ---------------------------------------------------

void ModuloContratto::titolo(const QString& testo) {
    auto* etichetta = new EtichettaACapo(testo, contenuto_);
    QFont carattere = etichetta->font();
    carattere.setBold(true);
    etichetta->setFont(carattere);
    etichetta->setAlignment(Qt::AlignHCenter);
    pagina_->addWidget(etichetta);
}

void ModuloContratto::paragrafo(const QString& testo) {
    auto* etichetta = new EtichettaACapo(testo, contenuto_);
    etichetta->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pagina_->addWidget(etichetta);
}

LayoutFluido* ModuloContratto::frase() {
    auto* contenitore = new QWidget(contenuto_);
    auto* riga = new LayoutFluido(contenitore, 4, 4);
    QSizePolicy politica(QSizePolicy::Preferred, QSizePolicy::Preferred);
    politica.setHeightForWidth(true);
    contenitore->setSizePolicy(politica);
    pagina_->addWidget(contenitore);
    return riga;
}

void ModuloContratto::parole(LayoutFluido* riga, const QString& testo) {
    // One label per word, so that the sentence wraps like running text
    // around the input boxes.
    for (const QString& parola : testo.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        riga->addWidget(new QLabel(parola, riga->parentWidget()));
}

CasellaTesto* ModuloContratto::testo(LayoutFluido* riga, int indice, const char* tag, int lunghezza, int larghezza) {
    auto* casella = new CasellaTesto(tag, lunghezza, riga->parentWidget());
    casella->setObjectName(QStringLiteral("Text1_%1").arg(indice));
    casella->setFixedWidth(larghezza);
    riga->addWidget(casella);
    text1_[u(indice)] = casella;
    if (std::string_view(tag) == "DATA") casella->installEventFilter(this);
    connect(casella, &QLineEdit::textChanged, this, [this, indice] { quando_cambia_testo(indice); });
    return casella;
}

QComboBox* ModuloContratto::titolo_persona(LayoutFluido* riga, int indice) {
    auto* combo = new QComboBox(riga->parentWidget());
    combo->setObjectName(QStringLiteral("Combo2_%1").arg(indice));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // The typed title goes through the same code-page check as any box.
    combo->setLineEdit(new CasellaTesto("", 255, combo));
    combo->setFixedWidth(110);
    riga->addWidget(combo);
    combo2_[u(indice)] = combo;
    connect(combo, &QComboBox::currentIndexChanged, this, [this] { quando_cambia(); });
    connect(combo, &QComboBox::editTextChanged, this, [this] { quando_cambia(); });
    return combo;
}

CasellaSpunta* ModuloContratto::spunta(LayoutFluido* riga, const QString& testo) {
    auto* casella = new CasellaSpunta(testo, riga->parentWidget());
    riga->addWidget(casella);
    return casella;
}

void ModuloContratto::opzione(LayoutFluido* riga, GruppoOpzioni* gruppo, const QString& nome) {
    auto* pulsante = new PulsanteOpzione(QString(), riga->parentWidget());
    pulsante->setObjectName(nome);
    gruppo->aggiungi(pulsante);
    riga->addWidget(pulsante);
    pulsante->installEventFilter(this);
}

void ModuloContratto::ripeti(LayoutFluido* riga, const std::string& nome,
                             std::function<std::string(const ModelloContratto&)> testo) {
    auto* etichetta = new EtichettaInLinea(QString(), riga->parentWidget());
    etichetta->setObjectName(QString::fromStdString(nome));
    QFont carattere = etichetta->font();
    carattere.setBold(true);
    etichetta->setFont(carattere);
    // A long name (a company's) wraps like the wording around it instead of
    // widening the page past the window: the label is a wrapped one that
    // asks for one line while the line has room.
    riga->addWidget(etichetta);
    ripetizioni_.push_back({nome, etichetta, std::move(testo)});
}

std::vector<QLabel*> ModuloContratto::ripetizioni(const std::string& nome) const {
    std::vector<QLabel*> trovate;
    for (const auto& r : ripetizioni_)
        if (r.nome == nome) trovate.push_back(r.etichetta);
    return trovate;
}

// --- the page ---------------------------------------------------------------

void ModuloContratto::costruisci_pagina() {
    const bool comproprietari = tipo_ == TipoContratto::Comproprietario;
    // The sole owner's page shares the co-owners' wording except where it
    // names who signs for the building.
    const QString committente = comproprietari ? q("il delegato dei proprietari") : q("il proprietario");
    const int NOME = 150, DATA = 95, PROV = 40, LUOGO = 150, INDIRIZZO = 260, IMPORTO = 110, LIBERO = 320;
    // Places are free text ("S. Giorgio a Cremano", "Parigi (Francia)"); names
    // take letters, blanks, apostrophes and hyphens.
    auto indirizzo = [](const ModelloContratto& m) { return ripetuto(t(m, 5)); };
    auto impresa = [](const ModelloContratto& m) { return ripetuto(t(m, 16)); };
    auto richiedente = [](const ModelloContratto& m) { return ripetuto(nominativo_richiedente(m)); };

    titolo(q("Programma di recupero delle parti comuni degli edifici dei centri storici e delle periferie\n"
             "con contributi a fondo perduto del Comune di Rezevi di cui all'Avviso Pubblico approvato\n"
             "con delibera di Giunta Comunale n° 4349 del 28 dicembre 2007"));
    titolo(q("CONTRATTO DI APPALTO PER L'ESECUZIONE DI LAVORI ALL'EDIFICIO"));
    {
        auto* r = frase();
        parole(r, q("SITO IN DIRIDO"));
        ripeti(r, "indirizzo_edificio", [](const ModelloContratto& m) { return ripetuto(titolo_edificio(m)); });
    }
    // Title, name, surname, place and province of birth, date of birth: five
    // boxes in a row from `prima_casella`, as both parties are introduced.
    const auto persona_nata = [&](auto* r, int titolo, int prima_casella, const char* nato) {
        titolo_persona(r, titolo);
        testo(r, prima_casella, "MA", 255, NOME)->setPlaceholderText(q("nome"));
        testo(r, prima_casella + 1, "MA", 255, NOME)->setPlaceholderText(q("cognome"));
        parole(r, q(nato));
        testo(r, prima_casella + 2, "", 255, LUOGO)->setPlaceholderText(q("comune"));
        parole(r, q("("));
        testo(r, prima_casella + 3, "MA", 2, PROV)->setPlaceholderText(q("prov."));
        parole(r, q(") il"));
        testo(r, prima_casella + 4, "DATA", 10, DATA);
    };
    titolo(q("TRA"));
    {
        auto* r = frase();
        parole(r, q("- il/la sottoscritto/a"));
        persona_nata(r, 0, 0, ", nato/a a");
        parole(r, comproprietari
                      ? q("delegato dei proprietari dell'immobile in comunione dei beni non costituente condominio "
                          "dell'edificio sito in Rezevi, Municipalità")
                      : q("proprietario dell'edificio sito in Rezevi, Municipalità"));
        combo1_ = new QComboBox(r->parentWidget());
        combo1_->setObjectName(QStringLiteral("Combo1"));
        r->addWidget(combo1_);
        connect(combo1_, &QComboBox::currentIndexChanged, this, [this] { quando_cambia(); });
        parole(r, q("in"));
        testo(r, 5, "", 255, INDIRIZZO)->setPlaceholderText(q("indirizzo dell'edificio"));
        parole(r, q(", domiciliato in"));
        testo(r, 7, "", 255, LUOGO)->setPlaceholderText(q("comune"));
        parole(r, q("in"));
        testo(r, 8, "", 255, INDIRIZZO)->setPlaceholderText(q("indirizzo"));
        parole(r, q(", come da dichiarazione che si allega in duplice copia (All. A3) del"));
        testo(r, 6, "DATA", 10, DATA);
        parole(r, q(", codice fiscale"));
        testo(r, 10, "MANI", 16, 170);
        parole(r, q(", autorizzato alla presente istanza giusta dichiarazione che si allega in duplice copia "
                    "(all. B2) del"));
        testo(r, 9, "DATA", 10, DATA);
        parole(r, q("."));
    }
    titolo(q("E"));
    {
        auto* r = frase();
        parole(r, q("il"));
        persona_nata(r, 1, 11, ", nato a");
        parole(r, q(", nella qualità di legale rappresentante della impresa"));
        testo(r, 16, "", 255, INDIRIZZO)->setPlaceholderText(q("ragione sociale"));
        parole(r, q(", con sede in"));
        testo(r, 17, "", 255, LUOGO)->setPlaceholderText(q("comune"));
        parole(r, q("in"));
        testo(r, 18, "", 255, INDIRIZZO)->setPlaceholderText(q("indirizzo"));
        parole(r, q(", codice fiscale"));
        testo(r, 19, "MANI", 16, 170);
        parole(r, q("e Partita I.V.A."));
        testo(r, 20, "PI", 11, 120);
    }
    titolo(q("PREMESSO"));
    {
        auto* r = frase();
        parole(r, comproprietari ? q("- che i proprietari dell'edificio di") : q("- che il proprietario dell'edificio di"));
        ripeti(r, "indirizzo_edificio", indirizzo);
        parole(r, q("con decisione del"));
        testo(r, 21, "DATA", 10, DATA);
        parole(r, comproprietari ? q("hanno deciso l'esecuzione dei seguenti lavori:")
                                 : q("ha deciso l'esecuzione dei seguenti lavori:"));
    }
    {
        static const char* const lavori[17] = {
            "Facciate", "Ripristino fascia basamentale", "Ripristino elementi decorativi in facciata",
            "Cortile e/o aree esterne", "Cassa scale", "Androne", "Locali comuni", "Copertura",
            "Strutture portanti", "Fondazioni", "Eliminazione delle barriere architettoniche", "Altro intervento:",
            "Impianto ascensore", "Impianto di riscaldamento",
            "Impianto elettrico e/o citofonico e/o antenna centralizzata",
            "Impianto di smaltimento delle acque meteoriche e/o impianto fognario", "Altri impianti:"};
        auto* r = frase();
        for (int i = 0; i < 17; ++i) {
            auto* c = spunta(r, q(lavori[i]));
            c->setObjectName(QStringLiteral("Check3_%1").arg(i));
            check3_[u(i)] = c;
            connect(c, &CasellaSpunta::valore_cambiato, this, [this] { quando_cambia(); });
            if (i == 11) testo(r, 22, "", 255, LIBERO);
            if (i == 16) testo(r, 23, "", 255, LIBERO);
        }
    }
    paragrafo(q("inerenti il fabbricato, nominando:"));
    // One line per appointee: role, title, name and surname boxes.
    const auto incaricato = [&](const char* ruolo, int titolo, int casella_nome) {
        auto* r = frase();
        parole(r, q(ruolo));
        titolo_persona(r, titolo);
        testo(r, casella_nome, "MA", 255, NOME)->setPlaceholderText(q("nome"));
        testo(r, casella_nome + 1, "MA", 255, NOME)->setPlaceholderText(q("cognome"));
        parole(r, q(","));
    };
    incaricato("- progettista:", 2, 24);
    incaricato("- direttore dei lavori:", 3, 26);
    incaricato("- coordinatore per la sicurezza", 4, 28);
    {
        auto* r = frase();
        parole(r, q("-"));
        testo(r, 30, "", 255, 200)->setPlaceholderText(q("altro incarico"));
        titolo_persona(r, 5);
        testo(r, 31, "MA", 255, NOME)->setPlaceholderText(q("nome"));
        testo(r, 32, "MA", 255, NOME)->setPlaceholderText(q("cognome"));
        parole(r, q(","));
    }
    {
        auto* r = frase();
        parole(r, q("autorizzando il sottoscritto"));
        ripeti(r, "nominativo_richiedente", richiedente);
        parole(r, q("a presentare istanza per la concessione del contributo previsto per gli edifici dei centri "
                    "storici e delle periferie ai sensi dell'Avviso Pubblico,"));
    }
    option1_ = new GruppoOpzioni(this);
    {
        auto* r = frase();
        opzione(r, option1_, QStringLiteral("Option1_0"));
        parole(r, q("- che a seguito di presentazione di DIA - Denuncia di inizio attività, nei successivi trenta "
                    "giorni, non è intervenuta alcuna interruzione dei termini con richiesta di chiarimenti o di "
                    "implementazione di documenti, ovvero che le richieste formulate dall'Amministrazione a "
                    "seguito di detta presentazione sono state soddisfatte;"));
    }
    {
        auto* r = frase();
        opzione(r, option1_, QStringLiteral("Option1_1"));
        parole(r, q("- che per i lavori in oggetto è stato rilasciato provvedimento autorizzativo dal Servizio "
                    "edilizia privata del Comune di Rezevi con disposizione dirigenziale n."));
        testo(r, 33, "NI", 255, 100);
        parole(r, q("del"));
        testo(r, 34, "DATA", 10, DATA);
        parole(r, q(";"));
    }
    {
        auto* r = frase();
        opzione(r, option1_, QStringLiteral("Option1_2"));
        parole(r, q("- che, trattandosi unicamente di lavori di manutenzione ordinaria, è stata presentata al "
                    "Comune di Rezevi relazione redatta ed asseverata da tecnico abilitato dei lavori previsti e la "
                    "relativa documentazione fotografica;"));
    }
    connect(option1_, &GruppoOpzioni::selezione_cambiata, this, [this] { quando_cambia(); });
    paragrafo(q("- che, ove ottenuta dal Comune di Rezevi l'assegnazione del contributo, la sua erogazione è "
                "subordinata al rispetto delle norme vigenti e dell'Avviso Pubblico e potrà avvenire in due rate "
                "o in un'unica soluzione a fine lavori, su richiesta presentata sui moduli previsti come indicato "
                "all'art. 11, comma 2, dell'Avviso Pubblico;"));
    paragrafo(q("- che la richiesta di erogazione dei finanziamenti va presentata in duplice copia al Comune di "
                "Rezevi unitamente alla documentazione contabile ed amministrativa prevista dall'Avviso Pubblico "
                "all'art. 12;"));
    paragrafo(q("- che l'Amministrazione Comunale, nonché la Soc. TAVORE S.C.p.A., provvederanno ad effettuare i "
                "controlli previsti dal programma di recupero, già autorizzati dalle parti, al fine "
                "dell'accertamento di:"));
    paragrafo(q("- dichiarazioni o rappresentazioni non veritiere, realizzazione dei lavori in difformità dei "
                "titoli abilitativi; irregolarità nell'esecuzione dei lavori, nella sicurezza del cantiere e "
                "nell'impiego della manodopera; mancato rispetto degli impegni assunti;"));
    paragrafo(q("- che si dà atto che dette dichiarazioni non veritiere, difformità ed irregolarità, potranno "
                "comportare la sospensione o la revoca del contributo concesso e la sospensione o "
                "all'esclusione dell'appaltatore dall' \"Elenco Imprese\"."));
    {
        auto* r = frase();
        parole(r, q("- che ") + committente + q(" dello stabile ha verificato che l'impresa è iscritta nello "
                    "speciale \"Elenco Imprese\" e che l'impresa"));
        ripeti(r, "impresa", impresa);
        parole(r, q("è in possesso del certificato di iscrizione al Registro delle Imprese rilasciato dalla "
                    "C.C.I.A.A. di"));
        combo3_ = new QComboBox(r->parentWidget());
        combo3_->setObjectName(QStringLiteral("Combo3"));
        r->addWidget(combo3_);
        connect(combo3_, &QComboBox::currentIndexChanged, this, [this] { quando_cambia(); });
        parole(r, q("Prot. n."));
        testo(r, 35, "", 255, 120);
        parole(r, q("in data"));
        testo(r, 36, "DATA", 10, DATA);
        parole(r, q("in corso di validità che si allega in originale sotto la lettera \"C\"."));
    }
    {
        auto* r = frase();
        parole(r, q("- che il computo metrico estimativo e il quadro economico sono stati redatti dal progettista "
                    "incaricato"));
        ripeti(r, "nominativo_progettista",
               [](const ModelloContratto& m) { return ripetuto(nominativo_progettista(m)); });
        parole(r, q("secondo \"Il Nuovo Prezzario Lavori Pubblici in Campania\" approvato con Delibera di Giunta "
                    "Regionale n. 2184 del 29/12/2006, e gli eventuali nuovi prezzi sono muniti di dichiarazione "
                    "di congruità effettuata dallo stesso progettista;"));
    }
    paragrafo(q("- che fra le parti contraenti si è stabilito di addivenire oggi alla stipula del presente contratto "
                "con il quale convengono quanto segue :"));

    titolo(q("ART. 1\nRecepimento della narrativa"));
    paragrafo(q("Le parti, come innanzi costituite, confermano e ratificano la precedente narrativa, che forma "
                "parte integrante del presente contratto, e danno atto che l'unico soggetto legittimato a "
                "sottoscrivere quale committente è: ") + committente + q("."));

    titolo(q("ART. 2\nAffidamento dei lavori. Ammontare dell'appalto"));
    {
        auto* r = frase();
        parole(r, q("Il/La"));
        ripeti(r, "nominativo_richiedente", richiedente);
        parole(r, q("di cui in premessa anche nominato \"committente\", in qualità di ") +
                      committente.mid(3) + q(" del fabbricato sito in Rezevi, in"));
        ripeti(r, "indirizzo_edificio", indirizzo);
        parole(r, q("."));
    }
    titolo(q("AFFIDA"));
    {
        auto* r = frase();
        parole(r, q("alla Impresa"));
        ripeti(r, "impresa", impresa);
        parole(r, q("(di seguito anche denominata \"Appaltatore\") che, a mezzo del costituito legale "
                    "rappresentante, si obbliga ad eseguire a perfetta regola d'arte le opere e le provviste "
                    "oggetto del presente contratto ai patti, prezzi e condizioni stabiliti nello stesso, nel "
                    "Capitolato Speciale d'Appalto e nel computo metrico estimativo, con il ribasso accordato "
                    "sulle singole voci di prezzo."));
    }
    paragrafo(q("Detti lavori saranno eseguiti in conformità agli elaborati tecnici esecutivi che, firmati dalle "
                "parti, formano parte integrante del contratto anche se non materialmente allegati."));
    {
        auto* r = frase();
        parole(r, q("La conduzione dei lavori in argomento è dall'Appaltatore affidata a:"));
        titolo_persona(r, 6);
        testo(r, 38, "MA", 255, NOME)->setPlaceholderText(q("nome"));
        testo(r, 39, "MA", 255, NOME)->setPlaceholderText(q("cognome"));
        parole(r, q(", nato a"));
        testo(r, 40, "", 255, LUOGO)->setPlaceholderText(q("luogo"));
        parole(r, q("il"));
        testo(r, 41, "DATA", 10, DATA);
        parole(r, q(", in qualità di Direttore Tecnico e/o di Cantiere dell'Appaltatore, che non potrà essere "
                    "sostituito nell'incarico senza il consenso del Committente."));
    }
    paragrafo(q("L'esecuzione dell'appalto è soggetta alla piena e incondizionata osservanza del presente "
                "contratto, del Cap. Spec. di Appalto e delle procedure previste dall'Avviso Pubblico e dalle "
                "relative delibere comunali."));
    paragrafo(q("L'ammontare dell'appalto, al netto dell'importo IVA, resta stabilito in via presuntiva in :"));
    {
        auto* r = frase();
        parole(r, q("a) €."));
        testo(r, 42, "ND2", 20, IMPORTO);
        parole(r, q(", per lavori a misura (ovvero a forfait, ovvero a forfait e a misura) al netto del ribasso del"));
        testo(r, 43, "ND2", 8, 70);
        parole(r, q("% ; detto valore rappresenta il ribasso medio ponderato offerto dall'impresa;"));
    }
    {
        auto* r = frase();
        parole(r, q("b) €."));
        testo(r, 44, "ND2", 20, IMPORTO);
        parole(r, q(", per oneri per la sicurezza non soggetti a ribasso;"));
    }
    {
        auto* r = frase();
        parole(r, q("c) €."));
        testo(r, 45, "ND2", 20, IMPORTO);
        parole(r, q(", per oneri di discarica materiali di risulta non soggetti a ribasso;"));
    }
    {
        auto* r = frase();
        parole(r, q("per un ammontare totale dell'appalto pari a €"));
        auto* totale = testo(r, 46, "ND2", 20, IMPORTO);
        totale->setReadOnly(true);
        totale->setToolTip(q("Somma calcolata di a), b) e c)"));
        parole(r, q(", di cui:"));
    }
    {
        auto* r = frase();
        parole(r, q("1. €."));
        testo(r, 47, "ND2", 20, IMPORTO);
        parole(r, q(", per lavori relativi alle parti comuni dell'edificio con ripartizione pro-quota per i "
                    "singoli proprietari;"));
    }
    {
        auto* r = frase();
        parole(r, q("2. €."));
        testo(r, 48, "ND2", 20, IMPORTO);
        parole(r, q(", per eventuali lavori relativi alle parti private ammissibili."));
    }
    paragrafo(q("Gli importi suddetti vengono indicati al solo scopo di definire l'ammontare presunto "
                "dell'appalto; il prezzo risulterà dall'applicazione dei prezzi, diminuiti del ribasso, alle "
                "quantità effettivamente eseguite."));

    titolo(q("ART. 3\nPagamenti"));
    {
        auto* r = frase();
        parole(r, q("I pagamenti in favore dell'impresa prevedono il versamento di un'anticipazione nella misura "
                    "minima del"));
        testo(r, 49, "ND2", 8, 70);
        parole(r, q("% da effettuarsi all'atto dell'effettivo inizio dei lavori, previa certificazione della "
                    "Direzione Lavori, nonché la corresponsione di acconti che saranno effettuati ogni qualvolta il "
                    "credito dell'Appaltatore, al netto del ribasso d'asta e delle ritenute per il recupero della "
                    "anticipazione, raggiunga la cifra di €"));
        testo(r, 50, "ND2", 20, IMPORTO);
    }
    {
        auto* r = frase();
        parole(r, q("I predetti pagamenti saranno disposti sulla base di certificati di pagamento corredati dei "
                    "relativi stati di avanzamento redatti ed emessi dalla Direzione dei Lavori che verrà "
                    "espletata da"));
        ripeti(r, "nominativo_direttore_lavori",
               [](const ModelloContratto& m) { return ripetuto(nominativo_direttore_lavori(m)); });
        parole(r, q("all'uopo nominato dal committente."));
    }
    {
        auto* r = frase();
        parole(r, q("I pagamenti verranno effettuati entro trenta giorni dall'emissione dei suddetti certificati "
                    "sul conto corrente bancario con IBAN"));
        testo(r, 51, "MANI", 34, 260);
        parole(r, q("presso istituto"));
        testo(r, 52, "", 255, 200);
        parole(r, q("agenzia"));
        testo(r, 53, "", 255, 200);
        parole(r, q("intestato alla società"));
        ripeti(r, "impresa", impresa);
        parole(r, q("con spese a carico del committente."));
    }
    {
        auto* r = frase();
        parole(r, q("Gli avvisi di avvenuta emissione dei titoli di spesa saranno inviati al seguente recapito "
                    "postale: Società"));
        ripeti(r, "recapito_impresa", [](const ModelloContratto& m) {
            std::string recapito;
            for (int i : {16, 18, 17}) {
                const std::string parte = togli_spazi(t(m, i));
                if (parte.empty()) continue;
                if (!recapito.empty()) recapito += ' ';
                recapito += parte;
            }
            return ripetuto(recapito);
        });
        parole(r, q("."));
    }
    {
        auto* r = frase();
        parole(r, q("La persona (o le persone) autorizzata/te dall'Appaltatore a riscuotere, ricevere, o "
                    "quietanzare le somme dovute in conto ed a saldo è/sono il/i sig./sigg."));
        testo(r, 54, "", 255, LIBERO);
        parole(r, q("."));
    }
    paragrafo(q("L'ultima rata a saldo sarà corrisposta dopo il collaudo e l'acquisizione del certificato di "
                "regolarità contributiva; in caso di ritardo nei pagamenti spettano all'Impresa gli interessi di "
                "legge. I pagamenti saranno effettuati unicamente dal contraente-committente."));

    titolo(q("ART. 4\nTempo e prezzi per l'esecuzione delle opere. Varianti."));
    {
        auto* r = frase();
        parole(r, q("Il tempo utile per dare ultimati i lavori è fissato in giorni naturali e consecutivi"));
        testo(r, 55, "NI", 5, 70);
        parole(r, q("decorrenti dalla data del verbale di consegna. In caso di ritardo sarà applicata una penale "
                    "giornaliera di: €"));
        testo(r, 56, "ND2", 20, IMPORTO);
        parole(r, q("."));
    }
    paragrafo(q("Se il ritardo dovesse essere superiore a giorni sessanta, il Committente potrà procedere alla "
                "risoluzione del contratto. I prezzi rimarranno fissi ed invariabili. È esclusa la revisione dei "
                "prezzi. Le varianti sono valutate secondo il prezzario regionale o con nuovi prezzi concordati."));

    titolo(q("ART. 5\nDisciplina del subappalto."));
    paragrafo(q("È vietato all'Appaltatore di cedere ad altri il contratto sotto pena della sua risoluzione e del "
                "risarcimento dei danni a favore del Committente. Il subappalto è ammesso solo con "
                "l'autorizzazione del Committente e nei limiti di legge."));
    option3_ = new GruppoOpzioni(this);
    auto rappresentante = [](const ModelloContratto& m) {
        return ripetuto(nominativo_rappresentante_impresa(m));
    };
    {
        auto* r = frase();
        opzione(r, option3_, QStringLiteral("Option3_0"));
        parole(r, q("L'Appaltatore"));
        ripeti(r, "nominativo_rappresentante_impresa", rappresentante);
        parole(r, q("dichiara di non voler subappaltare le lavorazioni di cui al presente contratto, come da "
                    "dichiarazione allegata (all. H)"));
    }
    {
        auto* r = frase();
        opzione(r, option3_, QStringLiteral("Option3_1"));
        parole(r, q("L'Appaltatore"));
        ripeti(r, "nominativo_rappresentante_impresa", rappresentante);
        parole(r, q("ha presentato all'atto dell'offerta la dichiarazione che si allega in merito alle eventuali "
                    "lavorazioni da subappaltare (all. H)."));
    }
    connect(option3_, &GruppoOpzioni::selezione_cambiata, this, [this] { quando_cambia(); });

    titolo(q("ART. 6\nTrattamento dei lavoratori"));
    paragrafo(q("L'Appaltatore si obbliga ad applicare integralmente il contratto collettivo nazionale di lavoro "
                "per gli operai dell'edilizia e gli accordi locali integrativi, e ad osservare gli oneri di "
                "contribuzione verso INPS, INAIL e Cassa Edile."));
    titolo(q("ART. 7\nAttività di controllo della TAVORE. S.C.p.A."));
    paragrafo(q("Le parti consentono alla TAVORE. S.C.p.A. e ai suoi incaricati l'accesso al cantiere per i "
                "controlli sulla sicurezza e sugli impegni del contratto. L'Appaltatore espone il cartello di "
                "cantiere secondo il modello della Società."));

    titolo(q("ART. 8\nAssicurazioni a carico dell'Appaltatore.\nCauzione a garanzia dell'appalto"));
    paragrafo(q("L'Appaltatore ha stipulato per il cantiere oggetto del presente contratto una specifica polizza "
                "CAR che tiene indenne il Committente da tutti i rischi di esecuzione."));
    {
        auto* r = frase();
        parole(r, q("E' infatti onere dell'Impresa appaltatrice l'accensione di detta polizza relativa "
                    "all'assicurazione CAR per un massimale pari al contratto con un valore delle preesistenze "
                    "pari a €:"));
        testo(r, 57, "ND2", 20, IMPORTO);
        parole(r, q(", che dovrà avere durata fino al termine dei lavori, ovvero fino al completo disimpianto del "
                    "cantiere."));
    }
    paragrafo(q("L'impresa ha prodotto una cauzione bancaria o assicurativa, a garanzia della buona e completa "
                "esecuzione dei lavori pari al 10% del valore del presente contratto che verrà liberata a collaudo "
                "avvenuto al termine dei lavori."));

    titolo(q("ART. 9\nOneri ed obblighi diversi a carico del Committente e dell'Appaltatore."));
    paragrafo(q("Sono oneri a carico del Committente, oltre a quanto specificato nel presente contratto e nel "
                "capitolato speciale: a) progettazione; b) sicurezza per quanto di sua competenza; c) direzione "
                "lavori; d) libero accesso alle aree di cantiere; e) coordinamento fra imprese; f) contabilità in "
                "contraddittorio; g) IVA; h) COSAP;"));
    {
        auto* r = frase();
        parole(r, q("i)"));
        testo(r, 58, "", 255, 600)->setPlaceholderText(q("altri oneri del committente (facoltativo)"));
    }
    paragrafo(q("Restano invece a carico dell'Appaltatore, oltre a quanto specificato nel presente contratto e nel "
                "capitolato speciale, i seguenti oneri che sono quindi compresi nel prezzo dell'appalto: ..."));
    {
        auto* r = frase();
        parole(r, q("8) La fornitura di acqua potabile ed energia elettrica per gli operai addetti ai lavori, salvo "
                    "la fornitura diretta da parte del Committente a titolo gratuito ed oneroso:"));
        testo(r, 59, "", 255, LIBERO);
        parole(r, q("."));
    }
    {
        auto* r = frase();
        parole(r, q("20) L'ottenimento di pareri, licenze, autorizzazioni e quant'altro necessario per il collaudo e "
                    "l'agibilità delle opere eseguite; le relative spese sono a carico dell'appaltatore, ove non "
                    "diversamente pattuito ed in particolare come di seguito indicato:"));
        testo(r, 60, "", 255, LIBERO);
        parole(r, q("."));
    }
    {
        auto* r = frase();
        parole(r, q("22)"));
        testo(r, 61, "", 255, 600)->setPlaceholderText(q("altro onere dell'appaltatore (facoltativo)"));
    }
    titolo(q("ART. 10\nConto finale e collaudo dei lavori.\nDefinizione delle controversie"));
    paragrafo(q("Il conto finale verrà compilato dal D.L. entro trenta giorni dall'ultimazione dei lavori; il "
                "collaudo finale inizierà entro trenta giorni e si concluderà entro novanta giorni. Le "
                "controversie saranno risolte in via bonaria."));
    titolo(q("ART.11"));
    {
        auto* r = frase();
        check1_ = spunta(r, q("Arbitrato (se non spuntato il contratto riporta \"OMISSIS\")"));
        check1_->setObjectName(QStringLiteral("Check1"));
        connect(check1_, &CasellaSpunta::valore_cambiato, this, [this] { quando_cambia(); });
    }
    titolo(q("ART. 12\nSpese del presente atto. Conformità al contratto tipo."));
    {
        auto* r = frase();
        parole(r, q("Le spese del presente atto sono a carico dell'Impresa Appaltatrice. Le parti espressamente danno "
                    "atto che gli artt. dall'1 al 10 e 12 del presente contratto sono integralmente conformi al "
                    "contratto tipo predisposto dalla TAVORE. S.C.p.A., e che quanto previsto dagli altri n°"));
        ripeti(r, "altri_articoli", [](const ModelloContratto& m) { return std::to_string(altri_articoli(m)); });
        parole(r, q("articoli non è in contrasto con detto contratto tipo e con le norme di cui all'Avviso "
                    "Pubblico."));
    }

    for (int n = 13; n <= 22; ++n) {
        const int b = PRIMO_TITOLO_ARTICOLO + 2 * (n - 13);
        titolo(QStringLiteral("ART. %1").arg(n));
        auto* r = frase();
        parole(r, q("Titolo:"));
        testo(r, b, "", 255, 700)->setPlaceholderText(q("titolo dell'articolo facoltativo"));
        auto* corpo = new CasellaTestoMultiriga("", static_cast<int>(lunghezza_massima_articolo), contenuto_);
        corpo->setObjectName(QStringLiteral("Text1_%1").arg(b + 1));
        corpo->setPlaceholderText(q("testo dell'articolo"));
        corpo->setFixedHeight(90);
        corpo->setTabChangesFocus(true);  // Tab moves on through the page, as in every other box
        pagina_->addWidget(corpo);
        corpi_[u(n - 13)] = corpo;
        connect(corpo, &QPlainTextEdit::textChanged, this, [this, b, n] {
            corpi_cp1252_[u(n - 13)].reset();
            quando_cambia_testo(b + 1);
        });
    }

    paragrafo(q("Allegati:"));
    {
        const char* allegati[11] = {
            "A) Dichiarazione dei comproprietari di essere titolari della proprietà dell'intero immobile;",
            // A check box does not wrap its text: the line break keeps the
            // page as narrow as the window.
            "B) Dichiarazione con la quale i comproprietari approvano i lavori e autorizzano altresì\n"
            "il committente a stipulare e sottoscrivere il presente contratto;",
            "C) Certificato di iscrizione dell'appaltatore al Registro Imprese rilasciato dalla C.C.I.A.A.;",
            "D) Capitolato Speciale d'Appalto;",
            "E) Computo metrico estimativo;",
            "F) Elenco prezzi firmato da tecnico, impresa e committente;",
            "G) Quadro economico dell'intervento;",
            "H) Dichiarazione dell'appaltatore in merito ad eventuali lavorazioni da subappaltare;",
            "I) Copia di polizza CAR per i rischi di esecuzione;",
            "J) Copia di polizza assicurativa per la manutenzione dei lavori eseguiti;",
            "K) Copia della cauzione a garanzia della buona e completa esecuzione dei lavori."};
        if (!comproprietari) {
            allegati[0] = "A) Dichiarazione del proprietario di essere titolare della proprietà dell'intero immobile;";
            allegati[1] = "B) Dichiarazione con la quale il proprietario approva i lavori;";
        }
        for (int i = 0; i < 11; ++i) {
            auto* c = new CasellaSpunta(q(allegati[i]), contenuto_);
            c->setObjectName(QStringLiteral("Check2_%1").arg(i));
            pagina_->addWidget(c);
            check2_[u(i)] = c;
            connect(c, &CasellaSpunta::valore_cambiato, this,
                    [this, i](int valore) { quando_cambia_allegato(i, valore); });
        }
    }
    {
        auto* etichetta = new EtichettaACapo(QString(), contenuto_);
        etichetta->setObjectName(QStringLiteral("consistenza"));
        QFont carattere = etichetta->font();
        carattere.setBold(true);
        etichetta->setFont(carattere);
        pagina_->addWidget(etichetta);
        ripetizioni_.push_back(
            {"consistenza", etichetta, [](const ModelloContratto& m) { return frase_consistenza(m); }});
    }
    paragrafo(q("Le parti convengono che i predetti allegati, anche se non materialmente uniti al presente "
                "contratto, ne formano parte integrante."));
    {
        auto* r = frase();
        parole(r, q("Rezevi,"));
        testo(r, 82, "DATA", 10, DATA);
        parole(r, q("(data in lettere:"));
        testo(r, 37, "", 255, LIBERO);
        parole(r, q(")"));
    }
    paragrafo(q("Come costituito\t\t\t\tPer l'impresa\nIL COMMITTENTE\t\t\t\tIL LEGALE RAPPRESENTANTE"));
}

// --- state ------------------------------------------------------------------

QWidget* ModuloContratto::text1(int indice) const {
    if (indice < 0 || indice >= NUMERO_TESTI) return nullptr;
    if (indice >= PRIMO_TITOLO_ARTICOLO && indice < PRIMO_TITOLO_ARTICOLO + 2 * NUMERO_ARTICOLI_FACOLTATIVI &&
        (indice - PRIMO_TITOLO_ARTICOLO) % 2 == 1)
        return corpi_[u((indice - PRIMO_TITOLO_ARTICOLO) / 2)];
    return text1_[u(indice)];
}

CasellaTesto* ModuloContratto::casella(int indice) const {
    return indice >= 0 && indice < NUMERO_TESTI ? text1_[u(indice)] : nullptr;
}

CasellaTestoMultiriga* ModuloContratto::corpo_articolo(int n) const {
    return n >= 13 && n <= 22 ? corpi_[u(n - 13)] : nullptr;
}

namespace {

StatoCombo leggi_combo(const QComboBox* combo, bool con_voci) {
    StatoCombo c;
    if (con_voci)
        for (int i = 0; i < combo->count(); ++i) c.voci.push_back(a_cp1252(combo->itemText(i)).value_or(""));
    c.indice = combo->currentIndex();
    c.testo = a_cp1252(combo->currentText()).value_or("");
    c.modificabile = combo->isEditable();
    return c;
}

void scrivi_combo(QComboBox* combo, const StatoCombo& c) {
    combo->clear();
    for (const auto& voce : c.voci) combo->addItem(da_cp1252(voce));
    combo->setCurrentIndex(c.indice);
    if (combo->isEditable()) combo->setEditText(da_cp1252(c.testo));
}

}  // namespace

ModelloContratto ModuloContratto::modello() const { return leggi_modello(true); }

ModelloContratto ModuloContratto::leggi_modello(bool con_voci) const {
    ModelloContratto m;
    for (int i = 0; i < NUMERO_TESTI; ++i) {
        if (const auto* casella = text1_[u(i)]) {
            m.text1[u(i)].testo = casella->testo_cp1252().value_or("");
            m.text1[u(i)].abilitata = casella->isEnabled();
        }
    }
    for (int n = 0; n < NUMERO_ARTICOLI_FACOLTATIVI; ++n) {
        const auto b = u(PRIMO_TITOLO_ARTICOLO + 2 * n + 1);
        auto& corpo = corpi_cp1252_[u(n)];
        if (!corpo) corpo = corpi_[u(n)]->testo_cp1252().value_or("");
        m.text1[b].testo = *corpo;
        m.text1[b].abilitata = corpi_[u(n)]->isEnabled();
    }
    m.combo1 = leggi_combo(combo1_, con_voci);
    for (std::size_t i = 0; i < combo2_.size(); ++i) m.combo2[i] = leggi_combo(combo2_[i], con_voci);
    m.combo3 = leggi_combo(combo3_, con_voci);
    m.check1 = {check1_->valore(), check1_->isEnabled()};
    for (std::size_t i = 0; i < check2_.size(); ++i) m.check2[i] = {check2_[i]->valore(), check2_[i]->isEnabled()};
    for (std::size_t i = 0; i < check3_.size(); ++i) m.check3[i] = {check3_[i]->valore(), check3_[i]->isEnabled()};
    for (int i = 0; i < 3; ++i) m.option1[u(i)] = option1_->selezionato(i);
    for (int i = 0; i < 2; ++i) m.option3[u(i)] = option3_->selezionato(i);
    m.contratto_modificato = contratto_modificato_;
    return m;
}

void ModuloContratto::mostra_modello(const ModelloContratto& m) {
    in_caricamento_ = true;
    for (int i = 0; i < NUMERO_TESTI; ++i) {
        if (auto* casella = text1_[u(i)]) {
            casella->imposta_testo_cp1252(t(m, i));
            casella->setEnabled(m.text1[u(i)].abilitata);
            casella->setCursorPosition(0);
        }
    }
    for (int n = 0; n < NUMERO_ARTICOLI_FACOLTATIVI; ++n) {
        const auto b = u(PRIMO_TITOLO_ARTICOLO + 2 * n + 1);
        corpi_[u(n)]->imposta_testo_cp1252(m.text1[b].testo);
        corpi_[u(n)]->setEnabled(m.text1[b].abilitata);
    }
    scrivi_combo(combo1_, m.combo1);
    for (std::size_t i = 0; i < combo2_.size(); ++i) scrivi_combo(combo2_[i], m.combo2[i]);
    scrivi_combo(combo3_, m.combo3);
    check1_->imposta_valore(m.check1.valore);
    check1_->setEnabled(m.check1.abilitata);
    for (std::size_t i = 0; i < check2_.size(); ++i) {
        check2_[i]->imposta_valore(m.check2[i].valore);
        check2_[i]->setEnabled(m.check2[i].abilitata);
    }
    for (std::size_t i = 0; i < check3_.size(); ++i) {
        check3_[i]->imposta_valore(m.check3[i].valore);
        check3_[i]->setEnabled(m.check3[i].abilitata);
    }
    auto scelta = [](const auto& opzioni) {
        for (std::size_t i = 0; i < opzioni.size(); ++i)
            if (opzioni[i]) return static_cast<int>(i);
        return -1;
    };
    option1_->seleziona(scelta(m.option1));
    option3_->seleziona(scelta(m.option3));
    in_caricamento_ = false;
    contratto_modificato_ = m.contratto_modificato;
    aggiorna_pagina();
}

bool ModuloContratto::carica() {
    ModelloContratto m = modello();
    if (!carica_contratto(m, tipo_ == TipoContratto::Comproprietario ? TIPO_COMPROPRIETARIO : TIPO_PROPRIETARIO))
        return false;
    // Loading an amount is an entry like a typed one: the total follows the
    // loaded amounts (a file without a stored total, or an outdated one).
    if (std::string totale = totale_appalto(m); !totale.empty()) m.text1[46].testo = std::move(totale);
    mostra_modello(m);
    return true;
}

// --- change handling --------------------------------------------------------

void ModuloContratto::quando_cambia() {
    if (in_caricamento_) return;
    contratto_modificato_ = 1;
    aggiorna_pagina();
}

void ModuloContratto::quando_cambia_testo(int indice) {
    if (in_caricamento_) return;
    if (indice == 42 || indice == 44 || indice == 45) {
        // The total follows its three amounts as they are typed.
        text1_[46]->imposta_testo_cp1252(totale_appalto(leggi_modello(false)));
    }
    quando_cambia();
}

void ModuloContratto::quando_cambia_allegato(int indice, int valore) {
    if (in_caricamento_) return;
    if (indice == ALLEGATO_CAPITOLATO && valore != SPUNTATA) {
        // Without the capitolato (box d) the other attachments cannot be listed.
        for (std::size_t i = 0; i < check2_.size(); ++i)
            if (static_cast<int>(i) != ALLEGATO_CAPITOLATO) check2_[i]->imposta_valore(NON_SPUNTATA);
    }
    quando_cambia();
}

void ModuloContratto::aggiorna_pagina() {
    ModelloContratto m = leggi_modello(false);
    aggiorna_articoli(m);
    for (int i = PRIMO_TITOLO_ARTICOLO; i < PRIMO_TITOLO_ARTICOLO + 2 * NUMERO_ARTICOLI_FACOLTATIVI; ++i)
        text1(i)->setEnabled(m.text1[u(i)].abilitata);
    text1_[33]->setEnabled(m.option1[1]);
    text1_[34]->setEnabled(m.option1[1]);
    const bool allegati_aperti = m.check2[u(ALLEGATO_CAPITOLATO)].valore == SPUNTATA;
    for (std::size_t i = 0; i < check2_.size(); ++i)
        if (static_cast<int>(i) != ALLEGATO_CAPITOLATO) check2_[i]->setEnabled(allegati_aperti);
    for (const auto& r : ripetizioni_) r.etichetta->setText(da_cp1252(r.testo(m)));
}

// --- buttons ----------------------------------------------------------------

bool ModuloContratto::salva() {
    // An amount that reads as no number ("3.5") is refused in its box
    // before anything is stored.
    for (CasellaTesto* casella : text1_)
        if (casella != nullptr && !casella->conferma()) return false;
    ModelloContratto m = modello();
    int errata = -1;
    if (!::salva(m, tipo_ == TipoContratto::Comproprietario ? TIPO_COMPROPRIETARIO : TIPO_PROPRIETARIO,
                 &errata)) {
        auto* corpo = qobject_cast<CasellaTestoMultiriga*>(text1(errata));
        if (corpo == nullptr) {
            if (errata >= 0) seleziona_campo(text1(errata));
            return false;
        }
        // An article too long: nothing is selected, for the first key the
        // message invites would erase it all; the cursor stands where the
        // part that can be stored ends.
        porta_in_vista(corpo);
        corpo->setFocus(Qt::OtherFocusReason);
        QTextCursor cursore = corpo->textCursor();
        const auto tenuti = static_cast<int>(parte_memorizzabile(t(m, errata)).tenuti);
        cursore.setPosition(std::min(tenuti, corpo->document()->characterCount() - 1));
        corpo->setTextCursor(cursore);
        corpo->ensureCursorVisible();
        return false;
    }
    contratto_modificato_ = 0;
    return true;
}

bool ModuloContratto::chiedi_e_salva() {
    if (contratto_modificato_ != 1) return true;
    switch (chiedi_si_no_resta(this, q("Menu"), DOMANDA_MENU)) {
        case Risposta::Si: return salva();
        case Risposta::No: return true;
        case Risposta::Resta: break;
    }
    return false;
}

void ModuloContratto::bozza() {
    // The draft shows the saved contract; the builder tells the user about
    // any problem itself.
    const std::filesystem::path file = cartella_dati() / NOME_BOZZA;
    if (tipo_ == TipoContratto::Comproprietario)
        genera_contratto_comproprietari(file, true);
    else
        genera_contratto_proprietari(file, true);
}

bool ModuloContratto::menu() {
    if (!chiedi_e_salva()) return false;
    esci();
    return true;
}

void ModuloContratto::esci() {
    uscito_ = true;
    if (torna_al_menu_) torna_al_menu_();
    close();
}

void ModuloContratto::closeEvent(QCloseEvent* evento) {
    if (uscito_) {
        evento->accept();
        return;
    }
    bool resta = false;
    const bool riuscito = esegui_protetto(this, [&] { resta = !chiedi_e_salva(); });
    if (!riuscito) resta = true;
    if (resta) {
        evento->ignore();
        return;
    }
    // Closing the window leaves the form as "&Menu" does.
    uscito_ = true;
    if (torna_al_menu_) torna_al_menu_();
    evento->accept();
}

bool ModuloContratto::eventFilter(QObject* oggetto, QEvent* evento) {
    if (evento->type() == QEvent::FocusIn) {
        // An option's label is the sentence after it, which Qt's scrolling
        // to the focused button may leave cut at the page's edge: the whole
        // sentence is brought into sight. Not on a click, which would move
        // the button from under the pointer before the button is released.
        const Qt::FocusReason motivo = static_cast<QFocusEvent*>(evento)->reason();
        if (auto* pulsante = qobject_cast<PulsanteOpzione*>(oggetto);
            pulsante && motivo != Qt::MouseFocusReason && motivo != Qt::ActiveWindowFocusReason &&
            motivo != Qt::PopupFocusReason)
            porta_in_vista(pulsante->parentWidget());
        // A date box still showing its placeholder is entered with the
        // placeholder selected, so that the first digit typed replaces it.
        // The selection waits for the click that gave the focus to be
        // handled.
        if (auto* casella = qobject_cast<CasellaTesto*>(oggetto);
            casella && casella->text() == QString::fromLatin1(SEGNAPOSTO_DATA.data(),
                                                             static_cast<int>(SEGNAPOSTO_DATA.size()))) {
            QTimer::singleShot(0, casella, [casella] { casella->selectAll(); });
        }
    }
    return QWidget::eventFilter(oggetto, evento);
}

void ModuloContratto::aiuto() { mostra_aiuto_contratto(this); }

void mostra_aiuto_contratto(QWidget* padre) {
    QDialog finestra(padre);
    finestra.setWindowTitle(q("Aiuto - Contratto di appalto"));
    finestra.setModal(true);
    auto* layout = new QVBoxLayout(&finestra);
    auto* testo = new QTextBrowser(&finestra);
    testo->setHtml(q(
        "<h3>Il contratto</h3>"
        "<p>La pagina riporta il testo del contratto di appalto. Compilare le caselle inserite nel testo: "
        "i dati delle parti, l'edificio, i lavori decisi, i professionisti incaricati, il titolo edilizio, "
        "gli importi, i pagamenti, la durata dei lavori, gli articoli facoltativi e gli allegati.</p>"
        "<p>Le caselle accettano solo i caratteri adatti: lettere per i nomi, cifre per giorni e partita IVA, "
        "numeri con la virgola per importi e percentuali, date nella forma gg/mm/aaaa. "
        "I nomi scritti una volta vengono ripetuti automaticamente nei paragrafi che li riportano; "
        "il totale dell'appalto è la somma degli importi a), b) e c).</p>"
        "<p>Gli articoli facoltativi si compilano in ordine: scrivendo il titolo di un articolo si rende "
        "disponibile il successivo. Gli allegati diversi dal capitolato (D) si possono spuntare solo dopo "
        "aver spuntato il capitolato.</p>"
        "<h3>I pulsanti</h3>"
        "<p><b>Salva</b> controlla le date e memorizza il contratto. <b>Bozza</b> crea e mostra la bozza "
        "del contratto con i dati salvati. <b>Menu</b> torna al menu iniziale, chiedendo prima se salvare "
        "le modifiche non ancora salvate.</p>"));
    layout->addWidget(testo);
    auto* pulsanti = new QDialogButtonBox(QDialogButtonBox::Ok, &finestra);
    QObject::connect(pulsanti, &QDialogButtonBox::accepted, &finestra, &QDialog::accept);
    layout->addWidget(pulsanti);
    finestra.resize(560, 440);
    // A modal window placed over a tall form could reach past a small screen.
    centra_form(&finestra);
    finestra.exec();
}
