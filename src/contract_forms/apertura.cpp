#include "contract_forms/apertura.h"

#include <QMessageBox>

// Placeholder until the form lands: says so rather than pretending.
bool apri_contratto(TipoContratto, std::function<void()>) {
    QMessageBox::information(nullptr, QStringLiteral("Contratto di appalto"),
                             QStringLiteral("Il modulo del contratto non è ancora disponibile."));
    return false;
}
