#include "shell/help_intro.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/controlli.h"

Help_intro::Help_intro(QWidget* padre) : QDialog(padre) {
    setWindowTitle(QStringLiteral("Guida - Menu iniziale"));
    setModal(true);
    auto* testo = new QLabel(this);
    testo->setWordWrap(true);
    testo->setTextFormat(Qt::RichText);
    testo->setText(QStringLiteral(
        "<p><b>Menu iniziale</b></p>"
        "<p>Scegliere il tipo di richiedente del contratto di appalto e premere "
        "<b>Prosegui</b> per aprire il modulo del contratto:</p>"
        "<ul>"
        "<li><b>Condominio</b>: l'amministratore firma per il condominio (non ancora disponibile);</li>"
        "<li><b>Proprietario unico</b>: l'edificio appartiene a un solo proprietario;</li>"
        "<li><b>Comproprietari</b>: un delegato firma per i proprietari dell'edificio in comunione.</li>"
        "</ul>"
        "<p>Si lavora su un contratto alla volta: se è già stato iniziato un contratto di un altro "
        "tipo, il programma chiede se sovrascriverlo.</p>"
        "<p><b>Stampa Dati</b> controlla che il contratto salvato sia completo; se manca qualcosa "
        "indica che cosa. Quando tutto è presente si sceglie la cartella in cui creare la cartella "
        "<i>Files Contratto Tavore</i> con il contratto definitivo (contratto.pdf) e una copia "
        "dei dati. Dopo la stampa definitiva il contratto è chiuso e non si può più modificare.</p>"
        "<p><b>Cartellone di cantiere</b> prepara il cartello da esporre in cantiere: i suoi dati, ripresi dal contratto dove non indicati, e il file cartellone.pdf da stampare.</p>"
        "<p><b>Esci</b> chiude il programma.</p>"));
    auto* pulsanti = new QDialogButtonBox(this);
    QPushButton* ok = pulsanti->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(pulsanti, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(testo);
    layout->addWidget(pulsanti);
    // A word-wrapped label needs its width fixed for its height to follow.
    testo->setFixedWidth(500);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
