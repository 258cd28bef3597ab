#include <gtest/gtest.h>

#include <vector>

#include "common/messaggi.h"

namespace {

TEST(Messaggi, TheInstalledHandlerReceivesEachMessageWithItsKind) {
    std::vector<std::pair<TipoMessaggio, std::string>> ricevuti;
    imposta_gestore_messaggi([&](TipoMessaggio tipo, const std::string& testo) { ricevuti.emplace_back(tipo, testo); });
    mostra_avviso("Data non valida \x80");
    mostra_errore_critico("PdfWriter.BeginDoc - Permission denied");
    imposta_gestore_messaggi({});
    ASSERT_EQ(ricevuti.size(), 2u);
    EXPECT_EQ(ricevuti[0].first, TipoMessaggio::Avviso);
    EXPECT_EQ(ricevuti[0].second, "Data non valida \x80");
    EXPECT_EQ(ricevuti[1].first, TipoMessaggio::ErroreCritico);

    // Without a handler the message goes to stderr, in UTF-8.
    testing::internal::CaptureStderr();
    mostra_avviso("citt\xE0");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("città"), std::string::npos);
    EXPECT_EQ(ricevuti.size(), 2u);
}

}  // namespace
