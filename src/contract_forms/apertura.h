// Opening the contract form from the start menu.
#pragma once

#include <functional>

enum class TipoContratto { Proprietario, Comproprietario };

// Opens the contract form for the given kind of client as a top-level
// window. The form calls torna_al_menu when the user leaves it by "&Menu"
// and then closes itself. Returns false, after telling the user, when the
// stored data cannot be read; nothing is opened then.
bool apri_contratto(TipoContratto tipo, std::function<void()> torna_al_menu);
