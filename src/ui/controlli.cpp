#include "ui/controlli.h"

#include <algorithm>
#include <vector>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QMargins>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>

#include "common/cp1252.h"
#include "ui/casella_testo.h"
#include "ui/testo.h"

namespace {

bool vuoto(const std::optional<std::string>& valore) {
    return !valore || togli_spazi(*valore).empty();
}

// The item's text as the comparison sees it; an item that holds a character
// outside the code page cannot equal a stored value.
std::optional<std::string> testo_voce(const QComboBox* combo, int indice) {
    return a_cp1252(combo->itemText(indice));
}

}  // namespace

void imposta_testo(QWidget* controllo, const std::optional<std::string>& valore) {
    if (controllo == nullptr) return;
    const std::string testo = vuoto(valore) ? std::string() : *valore;
    if (auto* casella = qobject_cast<CasellaTestoMultiriga*>(controllo)) {
        casella->imposta_testo_cp1252(testo);
    } else if (auto* riga = qobject_cast<QLineEdit*>(controllo)) {
        riga->setText(da_cp1252(testo));
    } else if (auto* pagina = qobject_cast<QPlainTextEdit*>(controllo)) {
        pagina->setPlainText(da_cp1252_crlf(testo));
    } else if (auto* combo = qobject_cast<QComboBox*>(controllo)) {
        combo->setEditText(da_cp1252(testo));
    }
}

void seleziona_campo(QWidget* controllo) {
    if (controllo == nullptr || !controllo->isEnabled() || !controllo->isVisible()) return;
    // A control below the visible part of a page is brought into view, so
    // that the user sees where to act.
    porta_in_vista(controllo);
    controllo->setFocus(Qt::OtherFocusReason);
    if (auto* riga = qobject_cast<QLineEdit*>(controllo))
        riga->selectAll();
    else if (auto* pagina = qobject_cast<QPlainTextEdit*>(controllo))
        pagina->selectAll();
}

void porta_in_vista(QWidget* controllo) {
    // The innermost first: a form too large for the screen holds its own
    // scrolled parts inside the window's scroll area.
    for (QWidget* w = controllo->parentWidget(); w != nullptr; w = w->parentWidget()) {
        auto* scorrimento = qobject_cast<QScrollArea*>(w);
        if (scorrimento == nullptr || scorrimento->widget() == nullptr) continue;
        const QRect dove(controllo->mapTo(scorrimento->widget(), QPoint(0, 0)), controllo->size());
        scorrimento->ensureVisible(dove.center().x(), dove.center().y(), dove.width() / 2 + MARGINE_IN_VISTA,
                                   dove.height() / 2 + MARGINE_IN_VISTA);
    }
}

namespace {

// Clears the combo's selection, then selects the first item whose key (the
// item's text as `chiave_voce` cuts it), upper-cased and trimmed, equals the
// value upper-cased and trimmed. Returns false when `combo` is null.
template <typename ChiaveVoce>
bool seleziona_prima_voce(QComboBox* combo, const std::optional<std::string>& valore, ChiaveVoce chiave_voce) {
    if (combo == nullptr) return false;
    combo->setCurrentIndex(-1);
    if (!valore) return true;
    const std::string cercato = maiuscolo(togli_spazi(*valore));
    for (int i = 0; i < combo->count(); ++i) {
        const auto voce = testo_voce(combo, i);
        if (voce && maiuscolo(togli_spazi(chiave_voce(*voce))) == cercato) {
            combo->setCurrentIndex(i);
            break;
        }
    }
    return true;
}

}  // namespace

void seleziona_combo(QComboBox* combo, const std::optional<std::string>& valore) {
    seleziona_prima_voce(combo, valore, [](const std::string& voce) { return voce; });
}

void seleziona_combo_testo(QComboBox* combo, const std::optional<std::string>& valore) {
    seleziona_combo(combo, valore);
    if (combo != nullptr && valore && combo->isEditable()) combo->setEditText(da_cp1252(*valore));
}

void seleziona_combo_prefisso(QComboBox* combo, const std::optional<std::string>& valore) {
    // The item padded with 20 blanks, cut to as many characters as the value has.
    const auto prefisso = [&valore](const std::string& voce) {
        return (voce + std::string(20, ' ')).substr(0, valore->size());
    };
    if (!seleziona_prima_voce(combo, valore, prefisso)) return;
    if (valore && combo->isEditable()) combo->setEditText(da_cp1252(*valore));
}

QSize dimensione_adattata(QSize voluta, QSize minima, QSize disponibile) {
    return voluta.boundedTo(disponibile).expandedTo(minima);
}

namespace {

QScreen* schermo_di(QWidget* finestra) {
    QScreen* schermo = finestra->screen();
    return schermo != nullptr ? schermo : QGuiApplication::primaryScreen();
}

// The window system's frame around the client area; before the first show
// it is not known yet, and a usual title bar is kept free.
QMargins cornice_di(QWidget* finestra) {
    const QRect esterno = finestra->frameGeometry();
    const QRect interno = finestra->geometry();
    if (finestra->isVisible() && esterno != interno)
        return QMargins(interno.left() - esterno.left(), interno.top() - esterno.top(),
                        esterno.right() - interno.right(), esterno.bottom() - interno.bottom());
    return QMargins(4, 30, 4, 4);
}

}  // namespace

void adatta_allo_schermo(QWidget* finestra) {
    if (finestra == nullptr) return;
    QScreen* schermo = schermo_di(finestra);
    if (schermo == nullptr) return;
    const QMargins cornice = cornice_di(finestra);
    const QRect area = schermo->availableGeometry().marginsRemoved(cornice);
    // A window whose minimum is larger than the screen would still put its
    // buttons out of reach: its minimum gives way.
    QSize minima = finestra->minimumSize().boundedTo(area.size());
    if (minima != finestra->minimumSize()) finestra->setMinimumSize(minima);
    const QSize dimensione = dimensione_adattata(finestra->size(), minima, area.size());
    if (dimensione != finestra->size()) finestra->resize(dimensione);
}

void centra_form(QWidget* form) {
    if (form == nullptr) return;
    adatta_allo_schermo(form);
    QScreen* schermo = schermo_di(form);
    if (schermo == nullptr) return;
    const QRect area = schermo->availableGeometry();
    const QRect cornice = form->frameGeometry();
    form->move(area.x() + std::max(0, (area.width() - cornice.width()) / 2),
               area.y() + std::max(0, (area.height() - cornice.height()) / 2));
}

namespace {

bool controllo_di_input(QWidget* w) {
    if (qobject_cast<QLineEdit*>(w) != nullptr) {
        // The line edit inside an editable combo belongs to the combo.
        return qobject_cast<QComboBox*>(w->parentWidget()) == nullptr;
    }
    return qobject_cast<QPlainTextEdit*>(w) != nullptr || qobject_cast<QCheckBox*>(w) != nullptr ||
           qobject_cast<QRadioButton*>(w) != nullptr || qobject_cast<QComboBox*>(w) != nullptr;
}

}  // namespace

void ordina_tabindex(QWidget* form) {
    if (form == nullptr) return;
    struct Voce {
        QWidget* controllo;
        QPoint posizione;
    };
    std::vector<Voce> voci;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (controllo_di_input(w)) voci.push_back({w, w->mapTo(form, QPoint(0, 0))});
    }
    std::stable_sort(voci.begin(), voci.end(), [](const Voce& a, const Voce& b) {
        if (a.posizione.y() != b.posizione.y()) return a.posizione.y() < b.posizione.y();
        return a.posizione.x() < b.posizione.x();
    });
    for (std::size_t i = 1; i < voci.size(); ++i)
        QWidget::setTabOrder(voci[i - 1].controllo, voci[i].controllo);
}
