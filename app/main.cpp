// The program: the start menu and the event loop; nothing else at start-up.
#include <QApplication>

#include "shell/avvio.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("contratto"));
    return esegui_programma();
}
