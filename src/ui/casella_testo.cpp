#include "ui/casella_testo.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QToolTip>

#include "common/cp1252.h"
#include "common/filtri.h"
#include "ui/controlli.h"
#include "ui/testo.h"

namespace {

constexpr int TASTO_INVIO = 13;

// Characters a key press types, or an empty list when it is an editing or
// shortcut key that the box's own handling should get.
std::u32string caratteri_digitati(const QKeyEvent* evento) {
    if (evento->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
        // AltGr arrives as Ctrl+Alt on some platforms and still types.
        const bool altgr = (evento->modifiers() & Qt::ControlModifier) &&
                           (evento->modifiers() & Qt::AltModifier);
        if (!altgr) return {};
    }
    std::u32string caratteri;
    for (char32_t c : evento->text().toUcs4()) {
        if (c < 32 || c == 127) return {};
        caratteri.push_back(c);
    }
    return caratteri;
}

bool e_invio(const QKeyEvent* evento) {
    return evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter;
}

// The text of a paste for a single-line box: trailing line breaks dropped,
// inner ones turned into blanks.
QString una_riga(QString testo) {
    while (!testo.isEmpty() && (testo.back() == u'\n' || testo.back() == u'\r')) testo.chop(1);
    testo.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    testo.replace(u'\r', u' ');
    testo.replace(u'\n', u' ');
    return testo;
}

// Cuts `blocco` so that it fits in `spazio` bytes without splitting a CR LF.
void taglia(std::string& blocco, std::size_t spazio) {
    if (blocco.size() <= spazio) return;
    blocco.resize(spazio);
    if (!blocco.empty() && blocco.back() == '\r') blocco.pop_back();
}

// The characters of `testo` that the code page cannot hold, each once, as
// the user sees them: "«✓»" or "«✓», «Ω»".
QString caratteri_esclusi(const QString& testo) {
    QStringList esclusi;
    for (char32_t c : testo.toUcs4()) {
        if (c == U'\r' || c == U'\n' || c == 0x2029 || c == 0x2028 || unicode_a_cp1252(c)) continue;
        const QString carattere = QString::fromUcs4(&c, 1);
        const QString voce = QStringLiteral("\u00AB") + carattere + QStringLiteral("\u00BB");
        if (!esclusi.contains(voce)) esclusi << voce;
        if (esclusi.size() == 3) break;
    }
    return esclusi.join(QStringLiteral(", "));
}

// What a box of the class takes, for the message of a refused paste; empty
// for a class that takes everything.
QString cosa_accetta(std::string_view classe) {
    const std::string c = maiuscolo(classe);
    if (c == "MA") return QStringLiteral("solo lettere, spazi, apostrofi e trattini");
    if (c == "MANI") return QStringLiteral("solo lettere e cifre, senza spazi");
    if (c == "NI" || c == "PI") return QStringLiteral("solo cifre");
    if (c == "DATA") return QStringLiteral("una data nella forma gg/mm/aaaa");
    if (c == "ORA") return QStringLiteral("un'ora nella forma hh:mm");
    if (c == "TEL") return QStringLiteral("un numero di telefono");
    if (const int decimali = decimali_della_classe(c); decimali > 0)
        return QStringLiteral("un numero come 1.250,50: il punto solo tra gruppi di tre cifre, "
                              "la virgola prima dei decimali, al più %1 decimali")
            .arg(decimali);
    return {};
}

// A code pasted as banks and offices print it, in groups ("IT60 X054 ..."):
// the blanks are layout, not part of the code.
QString senza_spazi(const QString& testo) {
    QString codice;
    for (QChar c : testo)
        if (!c.isSpace()) codice += c;
    return codice;
}

// The size QToolTip gives a note: a label in the notes' font and margins,
// one pixel wider, on one line unless that is wider than the screen.
QSize dimensione_nota(const QString& testo, const QScreen* schermo) {
    QLabel nota(testo);
    nota.setFont(QToolTip::font());
    nota.setMargin(1 + nota.style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, &nota));
    nota.setIndent(1);
    QSize dimensione = nota.sizeHint();
    if (schermo != nullptr && dimensione.width() > schermo->geometry().width()) {
        nota.setWordWrap(true);
        dimensione = nota.sizeHint();
    }
    return dimensione + QSize(1, 0);
}

// How far below the point it is given QToolTip puts a note: the pointer's
// height, so that a note shown at the pointer never covers it. Large
// pointers of high-resolution screens included.
constexpr int DISCESA_MASSIMA_NOTA = 64;

}  // namespace

void segnala_rifiuto(QWidget* casella, const QString& testo) {
    // A note beside the box rather than a box to close: typing goes on.
    QPoint dove = casella->mapToGlobal(QPoint(0, casella->height()));
    const QScreen* schermo = casella->screen();
    const QSize nota = dimensione_nota(testo, schermo);
    // A note that would pass the screen's right edge is put by Qt left of
    // the point instead, which for a box on the right half means at the
    // screen's left edge, far from the box. It is moved left only as far as
    // it must to fit (its width as Qt will make it, with some room).
    if (schermo != nullptr) {
        const QRect area = schermo->geometry();
        dove.setX(std::max(area.left(), std::min(dove.x(), area.right() - nota.width() - 8)));
    }
    // A note that appears under the pointer makes the pointer leave the box
    // it rests on (the next box, say), and QToolTip hides a note on any
    // leave: the user would never see it. With the pointer where the note
    // would go, the note hangs from the pointer instead, just below it.
    const QPoint puntatore = QCursor::pos();
    if (QRect(dove, nota + QSize(4, DISCESA_MASSIMA_NOTA)).contains(puntatore))
        dove.setY(puntatore.y());
    QToolTip::showText(dove, testo, casella, QRect(), 8000);
}

namespace {

// Nothing under way would hide a note shown now: no mouse button is down
// (its release hides notes), and the box's window is the active one (a
// window becoming active hides notes, and gives the focus back to its
// control).
bool nota_resterebbe(const QWidget* casella) {
    return QGuiApplication::mouseButtons() == Qt::NoButton && casella->isActiveWindow();
}

// Waits for the gesture under way to end, then shows the note.
class NotaRimandata : public QObject {
public:
    NotaRimandata(QWidget* casella, QString testo) : QObject(casella), casella_(casella), testo_(std::move(testo)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* evento) override {
        const QEvent::Type tipo = evento->type();
        if ((tipo == QEvent::MouseButtonRelease || tipo == QEvent::WindowActivate) && nota_resterebbe(casella_)) {
            // After the release or the activation has been handled.
            QTimer::singleShot(0, casella_, [casella = casella_, testo = testo_] {
                if (casella->hasFocus()) segnala_rifiuto(casella, testo);
            });
            qApp->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* casella_;
    QString testo_;
};

// A box left with a click takes the focus back while the button is still
// down, and a box refused by a save that the user asked for in a question
// ("Sì" to saving on the way out) does so while its window waits to become
// active again: a note shown then would be hidden at once by the release or
// the activation, so it waits for them.
void segnala_a_gesto_finito(QWidget* casella, const QString& testo) {
    if (nota_resterebbe(casella))
        segnala_rifiuto(casella, testo);
    else
        new NotaRimandata(casella, testo);
}

}  // namespace

QString messaggio_fuori_codifica(const QString& testo, bool incollato) {
    const QString esclusi = caratteri_esclusi(testo);
    const bool uno = !esclusi.contains(QLatin1Char(','));
    return (incollato ? QStringLiteral("Testo non inserito: ") : QString()) +
           (uno ? QStringLiteral("il carattere %1 non può essere usato nel contratto")
                : QStringLiteral("i caratteri %1 non possono essere usati nel contratto"))
               .arg(esclusi) +
           QStringLiteral(" (sono ammessi lettere, anche accentate, cifre e i segni comuni).");
}

QString messaggio_classe(std::string_view classe, Rifiuto rifiuto) {
    const QString accetta = cosa_accetta(classe);
    const QString inizio = rifiuto == Rifiuto::Incollato ? QStringLiteral("Testo non inserito")
                           : rifiuto == Rifiuto::Digitato ? QStringLiteral("Carattere non inserito")
                                                          : QStringLiteral("Valore non valido");
    if (accetta.isEmpty()) return inizio + QLatin1Char('.');
    return inizio + QStringLiteral(": questa casella accetta ") + accetta + QLatin1Char('.');
}

QString messaggio_tagliato(int lunghezza_massima) {
    return QStringLiteral("Testo incollato solo in parte: la casella contiene al più %1 caratteri.")
        .arg(lunghezza_massima);
}

// ---------------------------------------------------------------------------
// CasellaTesto

CasellaTesto::CasellaTesto(QWidget* padre) : QLineEdit(padre) { inizializza(); }

CasellaTesto::CasellaTesto(std::string_view tag, int lunghezza_massima, QWidget* padre)
    : QLineEdit(padre), tag_(tag) {
    imposta_lunghezza_massima(lunghezza_massima);
    inizializza();
}

void CasellaTesto::inizializza() {
    // Qt's own limit would also cut texts set by code; ours only cuts input.
    setMaxLength(32767);
    setDragEnabled(false);
    setAcceptDrops(true);
}

std::optional<std::string> CasellaTesto::testo_cp1252() const { return a_cp1252(text()); }

void CasellaTesto::imposta_testo_cp1252(std::string_view testo) { setText(da_cp1252(testo)); }

void CasellaTesto::applica(const std::string& nuovo, int cursore) {
    const QString testo = da_cp1252(nuovo);
    if (testo != text()) {
        // One edit through the box's undo history, announced as a user edit.
        selectAll();
        insert(testo);
    }
    setCursorPosition(cursore);
}

bool CasellaTesto::digita(char32_t carattere, bool segnala) {
    if (isReadOnly()) return false;
    const auto byte = unicode_a_cp1252(carattere);
    if (!byte) {
        if (segnala) segnala_rifiuto(this, messaggio_fuori_codifica(QString::fromUcs4(&carattere, 1), false));
        return false;
    }
    auto corrente = testo_cp1252();
    if (!corrente) return false;
    std::string testo = std::move(*corrente);
    int inizio = hasSelectedText() ? selectionStart() : cursorPosition();
    int lunghezza = hasSelectedText() ? selectionLength() : 0;
    const int tasto = filtra_tasto(tag_, testo, inizio, lunghezza, *byte);
    if (tasto <= 0 || tasto > 255) {
        if (segnala) segnala_rifiuto(this, messaggio_classe(tag_, Rifiuto::Digitato));
        return false;
    }
    const int dimensione = static_cast<int>(testo.size());
    inizio = std::clamp(inizio, 0, dimensione);
    lunghezza = std::clamp(lunghezza, 0, dimensione - inizio);
    if (lunghezza_massima_ > 0 && dimensione - lunghezza + 1 > lunghezza_massima_) return false;
    testo.replace(static_cast<std::size_t>(inizio), static_cast<std::size_t>(lunghezza), 1,
                  static_cast<char>(tasto));
    applica(testo, inizio + 1);
    return true;
}

bool CasellaTesto::inserisci_blocco(const QString& blocco) {
    if (isReadOnly()) return false;
    const QString riga = maiuscolo(tag_) == "MANI" ? senza_spazi(una_riga(blocco)) : una_riga(blocco);
    auto byte = a_cp1252(riga);
    auto corrente = testo_cp1252();
    if (!byte) segnala_rifiuto(this, messaggio_fuori_codifica(blocco, true));
    if (!byte || !corrente) return false;
    std::string testo = std::move(*corrente);
    const int dimensione = static_cast<int>(testo.size());
    const int inizio = std::clamp(hasSelectedText() ? selectionStart() : cursorPosition(), 0, dimensione);
    const int lunghezza = std::clamp(hasSelectedText() ? selectionLength() : 0, 0, dimensione - inizio);
    bool tagliato = false;
    if (lunghezza_massima_ > 0) {
        const int spazio = std::max(0, lunghezza_massima_ - (dimensione - lunghezza));
        tagliato = byte->size() > static_cast<std::size_t>(spazio);
        taglia(*byte, static_cast<std::size_t>(spazio));
    }
    if (byte->empty() && lunghezza == 0) {
        if (tagliato) segnala_rifiuto(this, messaggio_tagliato(lunghezza_massima_));
        return false;
    }
    testo.replace(static_cast<std::size_t>(inizio), static_cast<std::size_t>(lunghezza), *byte);
    if (!testo_ammesso(tag_, testo)) {
        segnala_rifiuto(this, messaggio_classe(tag_, Rifiuto::Incollato));
        return false;
    }
    applica(testo, inizio + static_cast<int>(byte->size()));
    if (tagliato) segnala_rifiuto(this, messaggio_tagliato(lunghezza_massima_));
    return true;
}

bool CasellaTesto::testo_finito() const {
    // Only a number can silently become another one; other classes may hold
    // a placeholder ("gg/mm/aaaa") or a stored text as it came.
    if (decimali_della_classe(tag_) <= 0) return true;
    const auto testo = testo_cp1252();
    return !testo || testo_ammesso(tag_, *testo);
}

bool CasellaTesto::conferma() {
    if (!isEnabled() || testo_finito()) return true;
    seleziona_campo(this);
    segnala_a_gesto_finito(this, messaggio_classe(tag_, Rifiuto::Lasciato));
    return false;
}

void CasellaTesto::focusOutEvent(QFocusEvent* evento) {
    QLineEdit::focusOutEvent(evento);
    // Leaving the window or opening a menu is no leaving of the box; a box
    // that took the focus back (OtherFocusReason) must not be fought over by
    // the one it took it from.
    const Qt::FocusReason motivo = evento->reason();
    if (motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason ||
        motivo == Qt::OtherFocusReason || isReadOnly())
        return;
    if (testo_finito()) return;
    // After the focus change in progress has ended; the note comes after the
    // focus is back, since any focus change hides a note shown before it.
    QTimer::singleShot(0, this, [this] {
        if (!isVisible() || !isEnabled()) return;
        seleziona_campo(this);
        segnala_a_gesto_finito(this, messaggio_classe(tag_, Rifiuto::Lasciato));
    });
}

void CasellaTesto::incolla() {
    if (!inserisci_blocco(QApplication::clipboard()->text())) QApplication::beep();
}

void CasellaTesto::keyPressEvent(QKeyEvent* evento) {
    if (evento->matches(QKeySequence::Paste)) {
        incolla();
        evento->accept();
        return;
    }
    // The keypad's decimal key means the decimal separator wherever one may
    // still go; elsewhere it is the "." it prints.
    const QString scritto = evento->text();
    if ((evento->modifiers() & Qt::KeypadModifier) && decimali_della_classe(tag_) > 0 &&
        (scritto == QLatin1String(".") || scritto == QLatin1String(","))) {
        if (!digita(U',', false) && !digita(U'.')) QApplication::beep();
        evento->accept();
        return;
    }
    // A key that corrects the text means the note of what was refused has
    // been read, and goes (Qt hides notes on keys only on some platforms);
    // a key refused now shows its own.
    const auto caratteri = caratteri_digitati(evento);
    if (caratteri.empty()) {
        if (evento->key() == Qt::Key_Backspace || evento->key() == Qt::Key_Delete) QToolTip::hideText();
        QLineEdit::keyPressEvent(evento);
        return;
    }
    bool rifiutato = false;
    for (char32_t c : caratteri) rifiutato |= !digita(c);
    if (rifiutato) QApplication::beep();
    else QToolTip::hideText();
    evento->accept();
}

void CasellaTesto::inputMethodEvent(QInputMethodEvent* evento) {
    if (evento->commitString().isEmpty() || evento->replacementLength() != 0) {
        QLineEdit::inputMethodEvent(evento);
        return;
    }
    // Let the box drop its pre-edit text, then type the committed characters
    // one by one through the filter.
    QInputMethodEvent senza_testo(evento->preeditString(), evento->attributes());
    QLineEdit::inputMethodEvent(&senza_testo);
    for (char32_t c : evento->commitString().toUcs4()) digita(c);
    evento->accept();
}

void CasellaTesto::dropEvent(QDropEvent* evento) {
    if (!evento->mimeData()->hasText() || isReadOnly()) {
        evento->ignore();
        return;
    }
    deselect();
    setCursorPosition(cursorPositionAt(evento->position().toPoint()));
    if (inserisci_blocco(evento->mimeData()->text()))
        evento->acceptProposedAction();
    else
        evento->ignore();
}

void CasellaTesto::mouseReleaseEvent(QMouseEvent* evento) {
    if (evento->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection()) {
        // The X11 primary selection is a paste like any other.
        deselect();
        setCursorPosition(cursorPositionAt(evento->position().toPoint()));
        inserisci_blocco(QApplication::clipboard()->text(QClipboard::Selection));
        evento->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(evento);
}

void CasellaTesto::contextMenuEvent(QContextMenuEvent* evento) {
    QMenu* menu = createStandardContextMenu();
    // Newer Qt names the action; older Qt only gives it its (translated) text.
    const QString incolla_testo = QLineEdit::tr("&Paste");
    for (QAction* azione : menu->actions()) {
        if (azione->objectName() == QLatin1String("edit-paste") || azione->text().startsWith(incolla_testo)) {
            disconnect(azione, &QAction::triggered, nullptr, nullptr);
            connect(azione, &QAction::triggered, this, &CasellaTesto::incolla);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(evento->globalPos());
}

// ---------------------------------------------------------------------------
// CasellaTestoMultiriga

namespace {

// Position in stored bytes of a position in the document (each earlier line
// break is one character in the document, two bytes stored).
int posizione_byte(const QPlainTextEdit* casella, int posizione) {
    const QTextBlock blocco = casella->document()->findBlock(posizione);
    return posizione + (blocco.isValid() ? blocco.blockNumber() : 0);
}

}  // namespace

CasellaTestoMultiriga::CasellaTestoMultiriga(QWidget* padre) : QPlainTextEdit(padre) { inizializza(); }

CasellaTestoMultiriga::CasellaTestoMultiriga(std::string_view tag, int lunghezza_massima, QWidget* padre)
    : QPlainTextEdit(padre), tag_(tag) {
    imposta_lunghezza_massima(lunghezza_massima);
    inizializza();
}

void CasellaTestoMultiriga::inizializza() {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

std::optional<std::string> CasellaTestoMultiriga::testo_cp1252() const {
    // toPlainText would turn no-break spaces into blanks.
    return a_cp1252_crlf(document()->toRawText());
}

void CasellaTestoMultiriga::imposta_testo_cp1252(std::string_view testo) {
    setPlainText(da_cp1252_crlf(testo));
}

int CasellaTestoMultiriga::lunghezza_byte() const {
    const QString testo = document()->toRawText();
    qsizetype interruzioni = 0;
    for (QChar c : testo)
        if (c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) ++interruzioni;
    return static_cast<int>(testo.size() + interruzioni);
}

bool CasellaTestoMultiriga::digita(char32_t carattere) {
    if (isReadOnly()) return false;
    const bool a_capo = carattere == U'\n' || carattere == U'\r';
    const auto byte = a_capo ? std::optional<unsigned char>(TASTO_INVIO) : unicode_a_cp1252(carattere);
    if (!byte) {
        segnala_rifiuto(this, messaggio_fuori_codifica(QString::fromUcs4(&carattere, 1), false));
        return false;
    }
    auto corrente = testo_cp1252();
    if (!corrente) return false;
    std::string testo = std::move(*corrente);
    QTextCursor cursore = textCursor();
    const int inizio_doc = cursore.selectionStart();
    const int fine_doc = cursore.selectionEnd();
    int inizio = posizione_byte(this, inizio_doc);
    int lunghezza = posizione_byte(this, fine_doc) - inizio;
    const int tasto = filtra_tasto(tag_, testo, inizio, lunghezza, *byte);
    if (tasto <= 0 || tasto > 255) return false;
    const bool inserisce_a_capo = tasto == TASTO_INVIO;
    if (!inserisce_a_capo && tasto < 32) return false;
    const int nuovi = inserisce_a_capo ? 2 : 1;
    if (lunghezza_massima_ > 0 &&
        static_cast<int>(testo.size()) - lunghezza + nuovi > lunghezza_massima_)
        return false;
    cursore.insertText(inserisce_a_capo ? QStringLiteral("\n") : QString(QChar(static_cast<char16_t>(
                                                                     cp1252_a_unicode(static_cast<unsigned char>(tasto))))));
    setTextCursor(cursore);
    return true;
}

bool CasellaTestoMultiriga::inserisci_blocco(const QString& blocco) {
    if (isReadOnly()) return false;
    auto byte = a_cp1252_crlf(blocco);
    auto corrente = testo_cp1252();
    if (!byte) segnala_rifiuto(this, messaggio_fuori_codifica(blocco, true));
    if (!byte || !corrente) return false;
    std::string testo = std::move(*corrente);
    QTextCursor cursore = textCursor();
    const int dimensione = static_cast<int>(testo.size());
    const int inizio = std::clamp(posizione_byte(this, cursore.selectionStart()), 0, dimensione);
    const int lunghezza =
        std::clamp(posizione_byte(this, cursore.selectionEnd()) - inizio, 0, dimensione - inizio);
    if (lunghezza_massima_ > 0) {
        const int spazio = std::max(0, lunghezza_massima_ - (dimensione - lunghezza));
        taglia(*byte, static_cast<std::size_t>(spazio));
    }
    if (byte->empty() && lunghezza == 0) return false;
    testo.replace(static_cast<std::size_t>(inizio), static_cast<std::size_t>(lunghezza), *byte);
    if (!testo_ammesso(tag_, testo)) {
        segnala_rifiuto(this, messaggio_classe(tag_, Rifiuto::Incollato));
        return false;
    }
    cursore.insertText(da_cp1252_crlf(*byte));
    setTextCursor(cursore);
    return true;
}

void CasellaTestoMultiriga::insertFromMimeData(const QMimeData* origine) {
    if (origine == nullptr || !origine->hasText()) return;
    if (!inserisci_blocco(origine->text())) QApplication::beep();
}

void CasellaTestoMultiriga::keyPressEvent(QKeyEvent* evento) {
    if (e_invio(evento) && !(evento->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        if (!digita(U'\n')) QApplication::beep();
        evento->accept();
        return;
    }
    const auto caratteri = caratteri_digitati(evento);
    if (caratteri.empty()) {
        QPlainTextEdit::keyPressEvent(evento);
        return;
    }
    bool rifiutato = false;
    for (char32_t c : caratteri) rifiutato |= !digita(c);
    if (rifiutato) QApplication::beep();
    evento->accept();
}

void CasellaTestoMultiriga::inputMethodEvent(QInputMethodEvent* evento) {
    if (evento->commitString().isEmpty() || evento->replacementLength() != 0) {
        QPlainTextEdit::inputMethodEvent(evento);
        return;
    }
    QInputMethodEvent senza_testo(evento->preeditString(), evento->attributes());
    QPlainTextEdit::inputMethodEvent(&senza_testo);
    for (char32_t c : evento->commitString().toUcs4()) digita(c);
    evento->accept();
}
