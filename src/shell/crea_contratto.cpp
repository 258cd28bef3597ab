#include "shell/crea_contratto.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeView>
#include <QVBoxLayout>

#include "ui/controlli.h"
#include "ui/messaggi_ui.h"
#include "ui/protetto.h"
#include "ui/scorciatoie_pulsanti.h"

namespace fs = std::filesystem;

namespace {

// Paths go to and from the system as its own bytes, never through a code page.
QString qt_percorso(const fs::path& p) { return QFile::decodeName(p.c_str()); }
fs::path fs_percorso(const QString& p) { return fs::path(QFile::encodeName(p).toStdString()); }

}  // namespace

fs::path crea_contratto::cartella_iniziale() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QDir(desktop).exists()) return fs_percorso(desktop);
    return fs_percorso(QDir::homePath());
}

crea_contratto::crea_contratto(CostruttoreContratto costruttore, QWidget* padre, std::function<void()> termina)
    : QDialog(padre), costruttore_(std::move(costruttore)), termina_(std::move(termina)) {
    if (!termina_) termina_ = [] { QCoreApplication::exit(0); };
    setWindowTitle(QStringLiteral("Contratto di appalto - Cartella di destinazione"));
    setModal(true);
    installa_scorciatoie_pulsanti();

    auto* spiegazione = new QLabel(
        QStringLiteral("Scegliere la cartella in cui creare la cartella \"Files Contratto Tavore\" con il "
                       "contratto definitivo e la copia dei dati."),
        this);
    spiegazione->setWordWrap(true);

    modello_ = new QFileSystemModel(this);
    modello_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    modello_->setRootPath(QDir::rootPath());
    albero_ = new QTreeView(this);
    albero_->setModel(modello_);
    albero_->setHeaderHidden(true);
    for (int colonna = 1; colonna < modello_->columnCount(); ++colonna) albero_->hideColumn(colonna);
    albero_->setSelectionMode(QAbstractItemView::SingleSelection);

    percorso_ = new QLabel(this);
    percorso_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    connect(albero_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex&, const QModelIndex&) {
                percorso_->setText(qt_percorso(cartella_scelta()));
            });

    // The tree shows the folders of one place at a time, the start folder's
    // parent first (the Desktop among the user's folders); this button climbs
    // to reach any other folder.
    superiore_ = new QPushButton(QStringLiteral("Cartella &superiore"), this);
    connect(superiore_, &QPushButton::clicked, this, [this] {
        const fs::path radice = fs_percorso(modello_->filePath(albero_->rootIndex()));
        if (radice.has_parent_path() && radice.parent_path() != radice) mostra_da(radice.parent_path());
    });

    auto* genera_pulsante = new QPushButton(QStringLiteral("&Genera"), this);
    auto* annulla = new QPushButton(QStringLiteral("&Annulla"), this);
    // The final generation closes the contract for good: only a click or
    // Alt+G runs it, never Enter, even with the focus on it. The window has
    // no default button at all (a dialog would make the first one it finds
    // the default): Enter keeps the chosen folder and does nothing.
    for (QPushButton* pulsante : {superiore_, genera_pulsante, annulla}) pulsante->setAutoDefault(false);
    connect(genera_pulsante, &QPushButton::clicked, this, [this] { genera(); });
    connect(annulla, &QPushButton::clicked, this, &QDialog::reject);

    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(superiore_);
    pulsanti->addStretch();
    pulsanti->addWidget(genera_pulsante);
    pulsanti->addWidget(annulla);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(spiegazione);
    layout->addWidget(albero_, 1);
    layout->addWidget(percorso_);
    layout->addLayout(pulsanti);
    resize(520, 460);

    scegli_cartella(cartella_iniziale());
    centra_form(this);
}

fs::path crea_contratto::cartella_scelta() const {
    const QModelIndex corrente = albero_->currentIndex();
    if (!corrente.isValid()) return {};
    return fs_percorso(modello_->filePath(corrente));
}

void crea_contratto::mostra_da(const fs::path& radice) {
    const QModelIndex indice = modello_->index(qt_percorso(radice));
    if (!indice.isValid()) return;
    albero_->setRootIndex(indice);
    superiore_->setEnabled(radice.has_parent_path() && radice.parent_path() != radice);
}

void crea_contratto::scegli_cartella(const fs::path& cartella) {
    const QModelIndex indice = modello_->index(qt_percorso(cartella));
    if (!indice.isValid()) return;
    mostra_da(cartella.has_parent_path() ? cartella.parent_path() : cartella);
    albero_->setCurrentIndex(indice);
    albero_->expand(indice);
    albero_->scrollTo(indice, QAbstractItemView::PositionAtTop);
    percorso_->setText(qt_percorso(cartella));
}

bool crea_contratto::genera() {
    const fs::path cartella = cartella_scelta();
    if (cartella.empty()) {
        avviso(this, QStringLiteral("Scegliere la cartella di destinazione."));
        return false;
    }
    // A generation cut short here before gave the previous output another
    // name: it is put back first, so that the question below is about it.
    ripristina_generazione_interrotta(cartella);
    // The earlier output folder is replaced whole: what the user put there
    // is named before it goes.
    if (const auto estranei = file_estranei(cartella); !estranei.empty()) {
        QStringList nomi;
        for (std::size_t i = 0; i < estranei.size() && i < 10; ++i)
            nomi << QStringLiteral("- ") + QFile::decodeName(estranei[i].c_str());
        if (estranei.size() > 10) nomi << QStringLiteral("e altri %1").arg(estranei.size() - 10);
        const QString domanda =
            QStringLiteral("La cartella \"%1\" contiene file che non sono stati creati dal programma:\n%2\n"
                           "Generando il contratto la cartella viene sostituita e questi file vengono cancellati.\n"
                           "Sovrascrivere?")
                .arg(qt_percorso(cartella / CARTELLA_USCITA), nomi.join(QLatin1Char('\n')));
        if (!chiedi_si_no(this, QStringLiteral("Sovrascrivere"), domanda, Risposta::No)) return false;
    }
    bool riuscita = false;
    esegui_protetto(this, [&] { riuscita = genera_contratto_finale(cartella, costruttore_); });
    if (!riuscita) return false;
    avviso(this, QStringLiteral("FILE GENERATI CON SUCCESSO!"));
    accept();
    termina_();
    return true;
}
