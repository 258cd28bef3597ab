// Start-up of the program: folders, the single-instance lock, the message
// handler, the start menu.
#pragma once

#include <memory>

class BloccoIstanza;

// Takes the lock beside the data file. When another copy holds it the user
// is told and nullptr comes back: this copy must end.
std::unique_ptr<BloccoIstanza> blocca_istanza();

// The whole program after QApplication exists; returns the exit code.
int esegui_programma();
