#include "sign/form/modulo_cartellone.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "common/cartelle.h"
#include "common/cp1252.h"
#include "sign/cartellone.h"
#include "sign/disegno_cartellone.h"
#include "sign/form/aiuto_cartellone.h"
#include "sign/form/twip.h"
#include "ui/casella_testo.h"
#include "ui/controlli.h"
#include "ui/gruppo_opzioni.h"
#include "ui/messaggi_ui.h"
#include "ui/protetto.h"
#include "ui/scorciatoie_pulsanti.h"
#include "ui/testo.h"

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

const QColor ROSSO_CARTELLONE(0xF7, 0x12, 0x0D);
const QColor AZZURRO_FOCUS(0xC0, 0xFF, 0xFF);

const QString DOMANDA_MENU = q("Prima di tornare al menu, vuoi salvare le modifiche effettuate al cartellone ?");
const QString DOMANDA_SALVA = q("Sei sicuro di volere sovrascrivere la cartellonistica ?");

constexpr int LARGHEZZA_FORM = 11880, ALTEZZA_FORM = 8190;
// The strip left of the preview that holds the logo and the buttons.
constexpr int LARGHEZZA_COMANDI = 960;
constexpr int LARGHEZZA_ANTEPRIMA = 10095, ALTEZZA_ANTEPRIMA = 15000;
// The least of the sheet the preview shows before the window scrolls too.
constexpr int ALTEZZA_MINIMA_ANTEPRIMA = 2000;

QPixmap figura(FiguraCartellone f, int larghezza, int altezza) {
    const Disegno d = disegna_figura(f, larghezza, altezza);
    QImage immagine(d.larghezza, d.altezza, QImage::Format_Indexed8);
    immagine.setColorCount(static_cast<int>(d.tavolozza.size()));
    for (std::size_t i = 0; i < d.tavolozza.size(); ++i)
        immagine.setColor(static_cast<int>(i), qRgb(d.tavolozza[i].r, d.tavolozza[i].g, d.tavolozza[i].b));
    for (int y = 0; y < d.altezza; ++y) {
        uchar* riga = immagine.scanLine(y);
        for (int x = 0; x < d.larghezza; ++x)
            riga[x] = d.pixel[static_cast<std::size_t>(y) * static_cast<std::size_t>(d.larghezza) +
                              static_cast<std::size_t>(x)];
    }
    return QPixmap::fromImage(immagine);
}

QLabel* immagine(QWidget* padre, FiguraCartellone f, const QRect& posto) {
    auto* etichetta = new QLabel(padre);
    etichetta->setGeometry(posto);
    etichetta->setPixmap(figura(f, posto.width(), posto.height()));
    return etichetta;
}

// The form's left strip: the logo and the command buttons. It does not
// scroll with the rest, so the buttons stay in sight on any screen; the last
// one keeps to the bottom of the window, as in the design.
class ColonnaComandi : public QWidget {
public:
    using QWidget::QWidget;
    void metti_in_fondo(QPushButton* pulsante, const QRect& posto) {
        in_fondo_ = pulsante;
        posto_ = posto;
        setMinimumHeight(minimumHeight() + posto.height() + 8);
    }

protected:
    void resizeEvent(QResizeEvent* evento) override {
        QWidget::resizeEvent(evento);
        if (in_fondo_ == nullptr) return;
        QRect posto = posto_;
        posto.moveTop(height() - posto_.height() - 8);
        in_fondo_->setGeometry(posto);
    }

private:
    QPushButton* in_fondo_ = nullptr;
    QRect posto_;
};

// The canvas right of the command strip: the titles and the logo at their
// places, and under them the preview, which takes the height the window
// gives it rather than the design's fixed 7095 twips. So the preview's own
// scroll bar is the only one wherever the window fits the screen, and a
// taller screen shows more of the sheet.
class Tela : public QWidget {
public:
    using QWidget::QWidget;
    void metti_anteprima(QWidget* anteprima, const QRect& posto, int spazio_sotto) {
        anteprima_ = anteprima;
        posto_ = posto;
        spazio_sotto_ = spazio_sotto;
    }

protected:
    void resizeEvent(QResizeEvent* evento) override {
        QWidget::resizeEvent(evento);
        if (anteprima_ == nullptr) return;
        QRect posto = posto_;
        posto.setHeight(std::max(minimumHeight(), height()) - posto.top() - spazio_sotto_);
        anteprima_->setGeometry(posto);
    }

private:
    QWidget* anteprima_ = nullptr;
    QRect posto_;
    int spazio_sotto_ = 0;
};

void sfondo(QWidget* w, const QColor& colore) {
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colore);
    w->setPalette(p);
}

void base(QWidget* w, const QColor& colore) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colore);
    w->setPalette(p);
}

QFont arial(double punti, bool grassetto) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(punti);
    f.setBold(grassetto);
    return f;
}

struct Voce {
    const char* etichetta;
    int etichetta_x, etichetta_y;
    int x, y, l, a;
};
// Captions and places of the thirteen entries, in the sign's box order.
constexpr Voce VOCI[NUMERO_CASELLE_CARTELLONE] = {
    {"dell'edificio sito in ", 360, 7560, 240, 7800, 3975, 285},
    {"Lavori di", 360, 8280, 240, 8520, 3975, 285},
    {"titolo Edilizio", 360, 9000, 240, 9240, 3975, 315},
    {"Impresa appaltatrice", 360, 9840, 240, 10080, 3975, 315},
    {"data inizio lavori", 360, 10680, 240, 10920, 3975, 315},
    {"data fine lavori", 360, 11535, 240, 11760, 3975, 315},
    {"Progettista", 360, 12360, 240, 12600, 3975, 315},
    {"direttore dei lavori", 360, 13200, 240, 13440, 3975, 315},
    {"Coordinatore prog.ne D. leg.vo 81/08 e s.m.i.", 5400, 9840, 5280, 10080, 3975, 315},
    {"Coordinatore esecuzione D. leg.vo 81/08 e s.m.i.", 5400, 10680, 5280, 10920, 3975, 315},
    {"direttore tecnico di cantiere", 5400, 11535, 5280, 11760, 3975, 315},
    {"Impresa subappaltatrice", 5400, 12360, 5280, 12600, 3975, 315},
    {"direttore tecnico cantiere Impresa subappaltatrice", 5400, 13200, 5280, 13440, 3975, 315},
};

const char* const AREE[3] = {"Centro storico urbano", "Centro storico perifico", "Quartiere perifico"};
constexpr FiguraCartellone FIGURE_AREE[3] = {FiguraCartellone::CentroCSU, FiguraCartellone::CentroCSP,
                                             FiguraCartellone::CentroQP};

}  // namespace

ModuloCartellone::ModuloCartellone(std::function<void()> torna_al_menu, QWidget* padre)
    : QWidget(padre), torna_al_menu_(std::move(torna_al_menu)) {
    setWindowTitle(q("Cartellonistica"));
    stampa_ = [] { genera_cartellone(cartella_dati() / NOME_CARTELLONE, true); };
    installa_scorciatoie_pulsanti();
    costruisci();
}

void ModuloCartellone::costruisci() {
    // The form is a fixed canvas: the command strip on the left, the rest in
    // a scroll area, so that a screen too small for it (or a large scale)
    // gets scroll bars for the sign and keeps the buttons in sight. Places
    // are the design's, in twips from the form's corner; right of the strip
    // they are shifted by its width.
    auto* esterno = new QHBoxLayout(this);
    esterno->setContentsMargins(0, 0, 0, 0);
    esterno->setSpacing(0);
    auto* comandi = new ColonnaComandi(this);
    comandi->setFixedWidth(twip::px(LARGHEZZA_COMANDI));
    sfondo(comandi, Qt::white);
    esterno->addWidget(comandi);
    auto* contenitore = new QScrollArea(this);
    contenitore->setFrameShape(QFrame::NoFrame);
    // A scroll area is no stop of its own for Tab: the user cannot see it.
    contenitore->setFocusPolicy(Qt::NoFocus);
    contenitore->setWidgetResizable(true);
    esterno->addWidget(contenitore, 1);
    auto* tela = new Tela;
    sfondo(tela, Qt::white);
    contenitore->setWidget(tela);
    const auto a_destra = [](const QRect& posto) { return posto.translated(-twip::px(LARGHEZZA_COMANDI), 0); };

    immagine(comandi, FiguraCartellone::LogoTavore, twip::rettangolo(120, 120, 840, 825));
    immagine(tela, FiguraCartellone::Loghi, a_destra(twip::rettangolo(10560, 240, 1185, 615)));
    const struct {
        const char* testo;
        QRect posto;
    } titoli[] = {
        {"Progetto Tavore 3 - Avviso Pubblico del 1° Febbraio 2008", twip::rettangolo(2520, 120, 6795, 300)},
        {"Cartellonistica", twip::rettangolo(5040, 480, 1725, 300)},
    };
    for (const auto& t : titoli) {
        auto* etichetta = new QLabel(q(t.testo), tela);
        QFont f(QStringLiteral("MS Sans Serif"));
        f.setPointSize(12);
        f.setBold(true);
        etichetta->setFont(f);
        QPalette p = etichetta->palette();
        p.setColor(QPalette::WindowText, ROSSO_CARTELLONE);
        etichetta->setPalette(p);
        etichetta->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        etichetta->setGeometry(a_destra(t.posto.adjusted(-40, 0, 40, 6)));
    }

    const char* const pulsanti[4] = {"&Menu", "&Salva", "&Stampa", "&Aiuto"};
    const int alto[4] = {2040, 2640, 3240, 7560};
    for (int i = 0; i < 4; ++i) {
        command1_[static_cast<std::size_t>(i)] = new QPushButton(q(pulsanti[i]), comandi);
        command1_[static_cast<std::size_t>(i)]->setGeometry(twip::rettangolo(120, alto[i], 735, 495));
    }
    comandi->setMinimumHeight(twip::px(alto[2] + 495));
    comandi->metti_in_fondo(command1_[3], twip::rettangolo(120, alto[3], 735, 495));
    connect(command1_[0], &QPushButton::clicked, this, [this] { esegui_protetto(this, [this] { menu(); }); });
    connect(command1_[1], &QPushButton::clicked, this, [this] { esegui_protetto(this, [this] { salva(); }); });
    connect(command1_[2], &QPushButton::clicked, this, [this] { esegui_protetto(this, [this] { stampa(); }); });
    connect(command1_[3], &QPushButton::clicked, this, [this] { esegui_protetto(this, [this] { aiuto(); }); });

    // The preview: a window onto the red sheet, scrolled vertically.
    anteprima_ = new QScrollArea(tela);
    anteprima_->setFrameShape(QFrame::NoFrame);
    anteprima_->setFocusPolicy(Qt::NoFocus);
    const QRect posto_anteprima = a_destra(twip::rettangolo(960, 960, LARGHEZZA_ANTEPRIMA + 255, 7095));
    const int spazio_sotto = twip::px(ALTEZZA_FORM) - posto_anteprima.bottom() - 1;
    tela->metti_anteprima(anteprima_, posto_anteprima, spazio_sotto);
    // Below a screen this short the window scrolls as a whole.
    tela->setMinimumSize(twip::px(LARGHEZZA_FORM - LARGHEZZA_COMANDI),
                         posto_anteprima.top() + twip::px(ALTEZZA_MINIMA_ANTEPRIMA) + spazio_sotto);
    anteprima_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    anteprima_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    anteprima_->verticalScrollBar()->setSingleStep(twip::px(500 * 7000 / 32767));
    sfondo(anteprima_->viewport(), Qt::white);
    auto* foglio = new QWidget;
    foglio->setFixedSize(twip::px(LARGHEZZA_ANTEPRIMA), twip::px(ALTEZZA_ANTEPRIMA));
    sfondo(foglio, ROSSO_CARTELLONE);
    anteprima_->setWidget(foglio);

    immagine(foglio, FiguraCartellone::Loghi, twip::rettangolo(5220, 720, 3000, 1230));
    immagine(foglio, FiguraCartellone::ComuneDirido, twip::rettangolo(480, 2040, 9000, 2430));

    option1_ = new GruppoOpzioni(this);
    for (int i = 0; i < 3; ++i) {
        auto* opzione = new PulsanteOpzione(q(AREE[i]), foglio);
        opzione->setFont(arial(9.75, true));
        // Styles paint option buttons with their own ground unless told.
        opzione->setStyleSheet(QStringLiteral("QRadioButton { background-color: %1; }").arg(ROSSO_CARTELLONE.name()));
        opzione->setGeometry(twip::rettangolo(240, 4920 + 600 * i, 3015, 255).adjusted(0, -2, 0, 4));
        option1_->aggiungi(opzione);
        // All three pictures share one place; only the chosen one shows.
        image3_[static_cast<std::size_t>(i)] = immagine(foglio, FIGURE_AREE[i], twip::rettangolo(3840, 4680, 6000, 2200));
        image3_[static_cast<std::size_t>(i)]->setVisible(i == 0);
    }
    connect(option1_, &GruppoOpzioni::opzione_selezionata, this, [this](int indice) {
        mostra_area(indice);
        quando_cambia();
    });

    for (int i = 0; i < NUMERO_CASELLE_CARTELLONE; ++i) {
        const Voce& v = VOCI[i];
        auto* etichetta = new QLabel(q(v.etichetta), foglio);
        etichetta->setFont(arial(9.75, false));
        sfondo(etichetta, ROSSO_CARTELLONE);
        etichetta->move(twip::px(v.etichetta_x), twip::px(v.etichetta_y));
        etichetta->adjustSize();
        label2_[static_cast<std::size_t>(i)] = etichetta;

        const bool data = i == DATA_INIZIO || i == DATA_FINE;
        auto* casella = new CasellaTesto(data ? "DATA" : "", data ? 10 : 255, foglio);
        casella->setFont(arial(8.25, false));
        casella->setGeometry(twip::rettangolo(v.x, v.y, v.l, v.a));
        base(casella, Qt::white);
        casella->installEventFilter(this);
        connect(casella, &QLineEdit::textChanged, this, [this] { quando_cambia(); });
        text1_[static_cast<std::size_t>(i)] = casella;
    }
    ordina_tabindex(this);

    // As wide as the design, and tall enough for the preview to show the
    // sheet from its top down to the first box, where the focus starts;
    // centra_form fits it to the screen when it is opened, and the scroll
    // areas keep every control within reach.
    const QRect primo = text1_[0]->geometry();
    const int anteprima_iniziale = std::max(posto_anteprima.height(), primo.bottom() + 1 + MARGINE_IN_VISTA);
    resize(comandi->width() + tela->minimumWidth(), posto_anteprima.top() + anteprima_iniziale + spazio_sotto);
}

bool ModuloCartellone::carica() {
    const auto m = carica_cartellonistica();
    if (!m) return false;
    in_caricamento_ = true;
    for (int i = 0; i < NUMERO_CASELLE_CARTELLONE; ++i)
        text1_[static_cast<std::size_t>(i)]->imposta_testo_cp1252(m->testi[static_cast<std::size_t>(i)]);
    option1_->seleziona(m->tipo_centro);
    mostra_area(m->tipo_centro);
    anteprima_->verticalScrollBar()->setValue(0);
    in_caricamento_ = false;
    modificato_ = false;
    return true;
}

ModelloCartellone ModuloCartellone::modello() const {
    ModelloCartellone m;
    for (int i = 0; i < NUMERO_CASELLE_CARTELLONE; ++i)
        m.testi[static_cast<std::size_t>(i)] = text1_[static_cast<std::size_t>(i)]->testo_cp1252().value_or("");
    m.tipo_centro = option1_->selezionato();
    return m;
}

void ModuloCartellone::quando_cambia() {
    if (!in_caricamento_) modificato_ = true;
}

void ModuloCartellone::mostra_area(int indice) {
    for (int i = 0; i < 3; ++i) image3_[static_cast<std::size_t>(i)]->setVisible(i == indice);
}

bool ModuloCartellone::salva() {
    // "Sì" replaces what is stored, so Enter alone answers "No".
    if (!chiedi_si_no(this, q("Sovrascrivere"), DOMANDA_SALVA, Risposta::No)) return false;
    int errata = -1;
    if (!salva_cartellone(modello(), &errata)) {
        if (errata >= 0) seleziona_campo(text1(errata));
        return false;
    }
    modificato_ = false;
    return true;
}

bool ModuloCartellone::chiedi_e_salva() {
    if (!modificato_) return true;
    switch (chiedi_si_no_resta(this, q("Menu"), DOMANDA_MENU)) {
        case Risposta::Si: return salva();
        case Risposta::No: return true;
        case Risposta::Resta: break;
    }
    return false;
}

void ModuloCartellone::stampa() {
    // The poster shows what is stored, not what is typed: nothing is saved
    // or asked first.
    if (stampa_) stampa_();
}

bool ModuloCartellone::menu() {
    if (!chiedi_e_salva()) return false;
    esci();
    return true;
}

void ModuloCartellone::aiuto() {
    Help_cartellone finestra(this);
    finestra.exec();
}

void ModuloCartellone::esci() {
    uscito_ = true;
    if (torna_al_menu_) torna_al_menu_();
    close();
}

void ModuloCartellone::closeEvent(QCloseEvent* evento) {
    if (uscito_) {
        evento->accept();
        return;
    }
    // The close box leaves as "&Menu" does, asking first when something
    // changed; Esc on the question, or a save that did not complete, keeps
    // the form open.
    bool resta = false;
    if (!esegui_protetto(this, [&] { resta = !chiedi_e_salva(); })) resta = true;
    if (resta) {
        evento->ignore();
        return;
    }
    uscito_ = true;
    if (torna_al_menu_) torna_al_menu_();
    evento->accept();
}

bool ModuloCartellone::eventFilter(QObject* oggetto, QEvent* evento) {
    auto* casella = qobject_cast<CasellaTesto*>(oggetto);
    if (casella) {
        if (evento->type() == QEvent::FocusIn) {
            if (maiuscolo(togli_spazi(casella->testo_cp1252().value_or(""))) == "GG/MM/AAAA") casella->clear();
            base(casella, AZZURRO_FOCUS);
            // However the focus came (Tab, Enter, a click on a box at the
            // edge), the box the user types into is in sight.
            porta_in_vista(casella);
        } else if (evento->type() == QEvent::FocusOut) {
            base(casella, Qt::white);
        } else if (evento->type() == QEvent::KeyPress) {
            const auto* tasto = static_cast<QKeyEvent*>(evento);
            if ((tasto->key() == Qt::Key_Return || tasto->key() == Qt::Key_Enter) &&
                (tasto->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                // Enter, the keypad's too, is a Tab: it moves on to the next
                // box the way Tab does, through the scroll areas that bring
                // that box into sight.
                QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
                QCoreApplication::sendEvent(casella, &tab);
                return true;
            }
        }
    }
    return QWidget::eventFilter(oggetto, evento);
}

bool apri_cartellone(std::function<void()> torna_al_menu) {
    installa_gestore_messaggi();
    auto* modulo = new ModuloCartellone(std::move(torna_al_menu));
    modulo->setAttribute(Qt::WA_DeleteOnClose);
    if (!modulo->carica()) {
        delete modulo;
        return false;
    }
    centra_form(modulo);
    modulo->show();
    // The first box gets the focus once the window is up.
    QTimer::singleShot(1, modulo, [modulo] { seleziona_campo(modulo->text1(0)); });
    return true;
}
