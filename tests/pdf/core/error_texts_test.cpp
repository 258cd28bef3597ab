// The user reads the writer's errors in Italian, worded as the system words
// each number, in Windows-1252 bytes like every other writer text.
#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "pdf/core/error_texts.h"

namespace {

TEST(ErrorTexts, EachNumberHasItsItalianWording) {
    const std::pair<int, const char*> table[] = {
        {5, "Chiamata di routine o argomento non validi"},
        {6, "Overflow"},
        {9, "Indice non compreso nell'intervallo"},
        {13, "Tipo non corrispondente"},
        {52, "Nome o numero di file non valido"},
        {53, "File non trovato"},
        {55, "File gi\xE0 aperto"},
        {62, "Input oltre la fine del file"},
        {321, "Formato di file non valido"},
        {12345, "Errore 12345"},
    };
    for (const auto& [number, text] : table) EXPECT_EQ(pdf::error_text(number), text) << number;

    // A place's own detail follows the wording after " - ".
    PdfWriter writer;
    try {
        writer.DrawArc(0, 0, 1, 0, 90, 1, false, 0);
        ADD_FAILURE() << "Quality 0 accepted";
    } catch (const PdfError& error) {
        EXPECT_EQ(error.number(), 5);
        EXPECT_EQ(error.description(), pdf::error_text(5) + " - Quality 0");
    }
}

}  // namespace
