// The message boxes of the program: questions with "Sì"/"No" and a title of
// their own ("Sovrascrivere", "Menu"), OK boxes with the application's title,
// and the critical box of an error ("source - description").
//
// Tests answer the boxes through a responder instead of showing them.
#pragma once

#include <functional>

#include <QString>

class QWidget;

inline const QString TITOLO_PROGRAMMA = QStringLiteral("Contratto di appalto");

enum class Risposta { Si, No, Resta };

// A box takes no key until the keyboard has been quiet this long since it
// appeared: keys that come sooner were pressed for the window below, before
// the user could read the box (a letter typed on as "Menu" opens its
// question, Alt+S meant for "Stampa Dati" as "Sovrascrivere" appears), and
// would answer it unseen.
inline constexpr int QUIETE_PRIMA_DEI_TASTI_MS = 250;

// True for "Sì". Esc and the box's close button answer "No", so this suits a
// question whose "No" changes nothing; `predefinita` (Si or No) is the
// button Enter presses: No for a question whose "Sì" destroys something.
// "S" and "N" answer as the buttons do.
bool chiedi_si_no(QWidget* padre, const QString& titolo, const QString& testo,
                  Risposta predefinita = Risposta::Si);

// A question whose "No" loses something ("vuoi salvare le modifiche?"): Esc
// and the box's close button answer Resta, nothing done, as Cancel does.
Risposta chiedi_si_no_resta(QWidget* padre, const QString& titolo, const QString& testo);
void avviso(QWidget* padre, const QString& testo);
void errore_critico(QWidget* padre, const QString& testo);

// Shows the messages of common/messaggi.h in these boxes, over the active
// window, and tells the user when a document viewer fails after it started.
void installa_gestore_messaggi();

struct FinestraMessaggio {
    enum class Tipo { Domanda, Avviso, ErroreCritico };
    Tipo tipo;
    QString titolo;
    QString testo;
    Risposta predefinita = Risposta::Si;
};

// When set, every box is handed to the responder instead of being shown; for
// a question its result is the answer (true = "Sì", false = "No"; a test of
// Esc goes through the real box). An empty function shows
// the boxes again. Returns the responder that was set before.
using Risponditore = std::function<bool(const FinestraMessaggio&)>;
Risponditore imposta_risponditore(Risponditore risponditore);
