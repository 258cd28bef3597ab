// The control routines the forms share: setting texts and list selections
// from stored values, focus, centring and tab order.
//
// Stored values are Windows-1252 bytes; nullopt stands for a key no record
// holds (a null value).
#pragma once

#include <optional>
#include <string>

#include <QSize>

class QComboBox;
class QWidget;

// Sets the text of a text box (CasellaTesto, CasellaTestoMultiriga, any
// QLineEdit or QPlainTextEdit, an editable combo) to `valore` as given, or to
// the empty text when it is null or blank. Never cut by the box's limit.
void imposta_testo(QWidget* controllo, const std::optional<std::string>& valore);

// Gives the control the focus when it is enabled and visible, scrolls it
// into view inside a scroll area (porta_in_vista) and, for a text box,
// selects all its text.
void seleziona_campo(QWidget* controllo);

// Scrolls every scroll area around the control, the innermost first, until
// the whole control is in sight with some room around it. (Qt's own
// ensureWidgetVisible is content with a text box's cursor in sight, which
// may leave the box cut at the edge.)
void porta_in_vista(QWidget* controllo);
// The room porta_in_vista keeps around the control, in pixels.
inline constexpr int MARGINE_IN_VISTA = 50;

// Selects no item, then the first item whose text, upper-cased and trimmed,
// equals `valore` upper-cased and trimmed.
void seleziona_combo(QComboBox* combo, const std::optional<std::string>& valore);

// As seleziona_combo, then, for a value, sets the combo's text to it (an
// editable combo shows it even when no item matches).
void seleziona_combo_testo(QComboBox* combo, const std::optional<std::string>& valore);

// Selects no item, then the first item whose first characters, as many as
// `valore` has (the item padded with 20 blanks), upper-cased and trimmed,
// equal `valore` upper-cased and trimmed; an editable combo then shows
// `valore` as its text.
void seleziona_combo_prefisso(QComboBox* combo, const std::optional<std::string>& valore);

// A window's size within the screen: `voluta` cut to `disponibile`, never
// below `minima` (which the caller has already cut to the screen).
QSize dimensione_adattata(QSize voluta, QSize minima, QSize disponibile);

// Makes the window, frame included, fit the available area of the screen it
// is on (the primary screen before it is shown), whatever the scale factor:
// a larger window is made smaller, its minimum size giving way if needed,
// so that buttons at its bottom stay on the screen. Windows whose content
// can grow beyond the screen keep it in a scroll area.
void adatta_allo_schermo(QWidget* finestra);

// Fits the window to the screen (adatta_allo_schermo), then centres it on
// the screen it is on (the primary screen before it is shown).
void centra_form(QWidget* form);

// Tab order of the form's input controls (text boxes, check boxes, option
// buttons, combo boxes): by their top edge within the form, then their left
// edge. Controls inside scroll areas and frames are placed by where they lie
// in the form.
void ordina_tabindex(QWidget* form);
