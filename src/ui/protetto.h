// Every event handler that runs application code goes through here: an error
// ends the action with the critical box, never the program.
#pragma once

#include <functional>

class QWidget;

// Runs `azione`; a PdfError is shown as "source - description", any other
// std::exception with its message, anything else as an unexpected error.
// Returns false when the action ended with an error.
bool esegui_protetto(QWidget* padre, const std::function<void()>& azione);
