// The output-folder chooser of the final contract: a folder tree starting at
// the Desktop, "Genera" and "Annulla". Modal.
#pragma once

#include <filesystem>
#include <functional>

#include <QDialog>

#include "shell/generazione.h"

class QFileSystemModel;
class QLabel;
class QPushButton;
class QTreeView;

class crea_contratto : public QDialog {
    Q_OBJECT
public:
    // `termina` ends the program after a successful generation (the
    // application quits by default).
    crea_contratto(CostruttoreContratto costruttore, QWidget* padre = nullptr,
                   std::function<void()> termina = {});

    // The folder the tree starts at: the user's Desktop, else the home folder.
    static std::filesystem::path cartella_iniziale();

    std::filesystem::path cartella_scelta() const;
    void scegli_cartella(const std::filesystem::path& cartella);

    // What "Genera" does; true when the files were generated.
    bool genera();

private:
    // Shows the folders inside `radice` in the tree.
    void mostra_da(const std::filesystem::path& radice);

    CostruttoreContratto costruttore_;
    std::function<void()> termina_;
    QFileSystemModel* modello_;
    QTreeView* albero_;
    QLabel* percorso_;
    QPushButton* superiore_ = nullptr;
};
