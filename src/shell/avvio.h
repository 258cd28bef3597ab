// Start-up of the program: folders, the single-instance lock, the message
// handler, the start menu.
#pragma once

#include <memory>

class BloccoIstanza;

// Takes the lock beside the data file. When another copy holds it the user
// is told and nullptr comes back: this copy must end.
std::unique_ptr<BloccoIstanza> blocca_istanza();

// The start's checks before the menu, with the program folder set: the data
// folder (made when needed; the user is told where the data went, or, when
// no folder can hold them, what to do, in an OK box: not an error of a
// document) and the lock. nullptr when this copy must end.
std::unique_ptr<BloccoIstanza> prepara_avvio();

// The whole program after QApplication exists; returns the exit code.
int esegui_programma();
