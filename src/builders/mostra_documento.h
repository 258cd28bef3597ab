// Showing a finished document in the desktop's viewer.
#pragma once

#include <filesystem>

class PdfWriter;

// After EndDoc: when no viewer can be started the user is told where the
// file was written and that nothing opened it; a start that fails is shown
// as the writer reports its errors ("source - description"). A file that
// cannot be shown is still written: nothing here undoes it.
void mostra_documento(PdfWriter& pdf, const std::filesystem::path& file);
