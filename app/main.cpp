// The program's entry point: shows the start menu and runs the event loop.
#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMessageBox::information(nullptr, QStringLiteral("Contratto di appalto"),
                             QStringLiteral("Il menu iniziale non è ancora disponibile."));
    return 0;
}
