#include "sign/form/aiuto_cartellone.h"

#include <QFont>
#include <QLabel>

#include "sign/form/twip.h"
#include "ui/controlli.h"

Help_cartellone::Help_cartellone(QWidget* padre) : QDialog(padre) {
    setWindowTitle(QStringLiteral("Help"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette sfondo = palette();
    sfondo.setColor(QPalette::Window, Qt::white);
    setPalette(sfondo);

    enum Stile { Titolo, Sottotitolo, Testo };
    const struct {
        const char* testo;
        int x, y, l, a;
        Stile stile;
    } righe[] = {
        {"AVVERTENZE AL MODELLO DI COMPILAZIONE ELETTRONICA DELLA MODULISTICA", 240, 240, 9825, 285, Titolo},
        {"AVVERTENZE CARTELLONE", 240, 720, 3405, 270, Sottotitolo},
        {"1.", 840, 1320, 165, 240, Testo},
        {"Il cartellone dovrà essere compilato in tutte le sue parti, le informazioni relative all'edificio, "
         "all'impresa appaltatrice ed al tecnico saranno riportate automaticamente dal software dopo la "
         "compilazione del contratto.",
         1200, 1320, 9735, 480, Testo},
        {"2.", 840, 1920, 165, 240, Testo},
        {"Nel cartellone di cantiere sarà possibile indicare i dati riguardanti l'edificio, l'appaltatore, la "
         "data di inizio e fine lavori, il nominativo del progettista e del direttore dei lavori, ecc.",
         1200, 1920, 9795, 450, Testo},
        {"3.", 840, 2520, 165, 240, Testo},
        // As wide as the other notes: with today's fonts the sentence does
        // not fit the narrower box on one line.
        {"In qualunque momento si potranno modificare le informazioni contenute nel cartellone.", 1200, 2520,
         9795, 240, Testo},
        {"4.", 840, 3000, 165, 240, Testo},
        {"Una volta conclusa la compilazione del cartellone sarà possibile generare, selezionando il tasto "
         "stampa, il file pdf del cartellone che dovrà essere stampato su idoneo supporto ed esposto in "
         "cantiere.",
         1200, 3000, 9795, 555, Testo},
    };
    for (const auto& r : righe) {
        auto* etichetta = new QLabel(QString::fromUtf8(r.testo), this);
        QFont carattere(QStringLiteral("Arial"));
        carattere.setPointSizeF(r.stile == Testo ? 9.75 : 12);
        carattere.setBold(r.stile != Testo);
        carattere.setItalic(r.stile == Sottotitolo);
        etichetta->setFont(carattere);
        etichetta->setWordWrap(r.stile == Testo);
        // The wrapped notes take the height their lines need with this
        // system's fonts.
        const QRect posto = twip::rettangolo(r.x, r.y, r.l, r.a);
        etichetta->setGeometry(posto.x(), posto.y(), posto.width(),
                               std::max(posto.height(), etichetta->heightForWidth(posto.width())));
    }
    setFixedSize(twip::px(11175), twip::px(3690) + 24);
    centra_form(this);
}
