// Layout of the contract text: full-width boxes, word-wrapped paragraphs and
// the page break with its page number, over one PdfWriter in centimetres.
#pragma once

#include <string>
#include <string_view>

class PdfWriter;

// Alignment codes of DrawTextBox used by the contract.
enum AllineamentoContratto : int {
    ALLINEA_SINISTRA_SPAZI = 0,  // left, runs of blanks kept
    ALLINEA_SINISTRA = 1,
    ALLINEA_DESTRA = 2,
    ALLINEA_CENTRO = 4,
    ALLINEA_SINISTRA_PIEDE = 9,
    ALLINEA_GIUSTIFICATO = 64,  // runs of blanks become one; a single line is left-aligned
};

class Impaginatore {
public:
    Impaginatore(PdfWriter& pdf, float larghezza_utile);

    PdfWriter& pdf() { return pdf_; }
    float larghezza_utile() const { return larghezza_utile_; }

    // "Times new roman" 12, bold or regular.
    void grassetto();
    void normale();

    // One full-width box of 5 cm at GetY() + distanza, cut short at the
    // bottom of the usable area; a text that needs more goes on in further
    // boxes, on a new page (same font) when the page is full. A word wider
    // than the usable width is cut over lines, as in paragraphs. No
    // page-break test after it.
    void blocco(int allineamento, float distanza, std::string_view testo);
    // The same followed by the page-break test. A box that wraps onto several
    // lines and would reach below the usable area starts a new page first (in
    // the same font), so that no text runs over the footer rule.
    void blocco_e_controllo(int allineamento, float distanza, std::string_view testo);

    // Word-wraps a paragraph over the usable width, one box per line with a
    // page-break test after every line. With the spacer an empty line comes
    // first. Line breaks inside the text (CR LF, CR or LF) end a line; a word
    // wider than the usable width is cut over lines of its own.
    void paragrafo(std::string_view testo, bool con_riga_vuota);
    void paragrafo_con_spazio(std::string_view testo) { paragrafo(testo, true); }
    void paragrafo_senza_spazio(std::string_view testo) { paragrafo(testo, false); }

    // A box at (x, GetY() + passo) of the usable width, left-aligned with its
    // blanks kept; then the page-break test when asked.
    void riga_libera(float x, float passo, std::string_view testo, bool controllo);

    // A new page when the current Y is below the usable height less 1 cm.
    void controllo_pagina();
    // Begins a page: line width 0.01, regular font, the page number at the
    // right end of the footer rule, current point at the top-left corner.
    void nuova_pagina();

private:
    // Starts a new page first when a box that wraps would run below the
    // usable area.
    void fai_spazio(float distanza, std::string_view testo);
    // A new page that keeps bold when bold was selected.
    void nuova_pagina_stesso_stile();
    void disegna_riga(std::string_view riga);
    void paragrafo_semplice(std::string_view testo);
    void parola_lunga(std::string_view parola);
    // The longest start of `parola` (at least one byte) no wider than the
    // usable width.
    std::size_t quanto_entra(std::string_view parola);
    // The text with every word wider than the usable width cut into pieces
    // that fit, joined by blanks, so that a box wraps them onto lines.
    std::string parole_tagliate(std::string_view testo);
    // Where boxes stop: a little above the footer rule. Both the box and the
    // test that moves a box to a new page use it.
    float fondo_testo();
    int righe_necessarie(std::string_view testo);

    PdfWriter& pdf_;
    float larghezza_utile_;
    int stile_ = 1;  // the title block leaves bold selected
};
