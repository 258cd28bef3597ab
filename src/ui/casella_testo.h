// Text boxes with an input class.
//
// The class (`tag`, "DATA", "ND2", "MA", ...; see common/filtri.h) chooses
// the keystroke filter that every typed character goes through; a pasted or
// dropped text (clipboard, middle-click selection, drag and drop) is checked
// as a whole with testo_ammesso, on the text the box would hold after it.
// Characters outside Windows-1252 never get in. A refused key or paste shows
// the box's note. A box is left only with a finished text: an amount whose
// dots are not between whole groups of three ("3.5") keeps the focus.
// The keypad's decimal key types "," where a decimal separator may go.
// Blanks of a code pasted into a "MANI" box (an IBAN printed in groups) are
// dropped.
//
// The length limit is counted in stored bytes (a line break of the
// multi-line box is CR LF, two bytes). It stops typing and cuts a paste, but
// a text set by code (a record load) is never cut: what was stored comes
// back whole.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QLineEdit>
#include <QPlainTextEdit>

// What a box tells the user, in a note beside it, when it refuses a
// character the code page cannot hold or a paste its class does not allow.
QString messaggio_fuori_codifica(const QString& testo, bool incollato);
// Which input was refused: a paste or drop, a typed key, or the whole text
// of a box being left (an amount such as "3.5" that reads as no number).
enum class Rifiuto { Incollato, Digitato, Lasciato };
QString messaggio_classe(std::string_view classe, Rifiuto rifiuto = Rifiuto::Incollato);
// A paste cut to fit the box.
QString messaggio_tagliato(int lunghezza_massima);
void segnala_rifiuto(QWidget* casella, const QString& testo);

class CasellaTesto : public QLineEdit {
    Q_OBJECT
public:
    explicit CasellaTesto(QWidget* padre = nullptr);
    explicit CasellaTesto(std::string_view tag, int lunghezza_massima = 0, QWidget* padre = nullptr);

    void imposta_tag(std::string_view tag) { tag_ = std::string(tag); }
    const std::string& tag() const { return tag_; }

    // 0 = no limit.
    void imposta_lunghezza_massima(int byte) { lunghezza_massima_ = byte < 0 ? 0 : byte; }
    int lunghezza_massima() const { return lunghezza_massima_; }

    // The text as Windows-1252 bytes. nullopt only when code put a character
    // outside the code page into the box with setText.
    std::optional<std::string> testo_cp1252() const;
    // Sets the text from Windows-1252 bytes, whole (no limit applied).
    void imposta_testo_cp1252(std::string_view testo);

    // True when the text is finished: for a decimal class, testo_ammesso
    // (every other class passes). Otherwise the box takes the focus, shows
    // its note (once a click under way has ended and its window is active
    // again) and gives false. A disabled box always passes.
    bool conferma();

public slots:
    // Pastes the clipboard's text through the whole-text check.
    void incolla();

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void inputMethodEvent(QInputMethodEvent* evento) override;
    void dropEvent(QDropEvent* evento) override;
    void contextMenuEvent(QContextMenuEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
    void focusOutEvent(QFocusEvent* evento) override;

private:
    void inizializza();
    // One typed character: filter, limit, insertion. False when dropped;
    // `segnala` shows the box's note for a refused character.
    bool digita(char32_t carattere, bool segnala = true);
    bool testo_finito() const;
    // A block of text from the clipboard or a drop, at the selection.
    bool inserisci_blocco(const QString& blocco);
    // Replaces the whole text with `nuovo` as one undoable edit.
    void applica(const std::string& nuovo, int cursore);

    std::string tag_;
    int lunghezza_massima_ = 0;
};

// The multi-line box of the article bodies: line breaks are kept as CR LF in
// the bytes it gives and takes.
class CasellaTestoMultiriga : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CasellaTestoMultiriga(QWidget* padre = nullptr);
    explicit CasellaTestoMultiriga(std::string_view tag, int lunghezza_massima = 0,
                                   QWidget* padre = nullptr);

    void imposta_tag(std::string_view tag) { tag_ = std::string(tag); }
    const std::string& tag() const { return tag_; }
    void imposta_lunghezza_massima(int byte) { lunghezza_massima_ = byte < 0 ? 0 : byte; }
    int lunghezza_massima() const { return lunghezza_massima_; }

    std::optional<std::string> testo_cp1252() const;
    void imposta_testo_cp1252(std::string_view testo);
    // Stored length of the current text (line breaks count 2).
    int lunghezza_byte() const;

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void inputMethodEvent(QInputMethodEvent* evento) override;
    void insertFromMimeData(const QMimeData* origine) override;

private:
    void inizializza();
    bool digita(char32_t carattere);
    bool inserisci_blocco(const QString& blocco);

    std::string tag_;
    int lunghezza_massima_ = 0;
};
