// Showing a finished document in the desktop's viewer.
#pragma once

#include <filesystem>

// After EndDoc: starts the viewer and returns at once. When no viewer can be
// started, or later when it fails (reported through the opener's observer,
// common/visualizzatore.h), the user is told where the file was written and
// why nothing shows it. A file that cannot be shown is still written:
// nothing here undoes it.
void mostra_documento(const std::filesystem::path& file);
