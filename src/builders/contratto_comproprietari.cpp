#include "builders/contratto_comproprietari.h"

#include <map>
#include <optional>
#include <string>
#include <system_error>

#include <unistd.h>

#include "builders/blocchi_contratto.h"
#include "builders/mostra_documento.h"
#include "builders/testi_intestazione.h"
#include "builders/testo_cp1252.h"
#include "common/cp1252.h"
#include "common/dati.h"
#include "common/messaggi.h"
#include "pdf/PdfWriter.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t SOLO_STAMPA = 4;  // 40-bit keys, printing allowed, nothing else
constexpr std::string_view PASSWORD_PROPRIETARIO = "dezarezozidu";
constexpr int ERRORE_FILE_NON_APRIBILE = 52;
// Passes of the page count before giving up on an exact figure; the count can
// only grow with the width of its own digits, so two passes always suffice.
constexpr int MASSIMO_MISURE = 5;

bool e_bozza(const fs::path& nome_file) {
    return maiuscolo(nome_file.string()).find("BOZZA.PDF") != std::string::npos;
}

// The whole document on an open writer, from the frame to the signatures;
// returns the number of pages it took.
int impagina(PdfWriter& pdf, ValoriContratto valori, bool bozza, int numero_pagine) {
    float larghezza_utile = 0;
    scrivi_cornice_e_titolo(pdf, valori, bozza, larghezza_utile);
    Impaginatore imp(pdf, larghezza_utile);
    scrivi_premesse(imp, valori);
    scrivi_articoli_1_4(imp, valori);
    scrivi_articoli_5_8(imp, valori);
    const int numero_articoli = scrivi_articoli_9_12(imp, valori);
    scrivi_articoli_facoltativi(imp, valori);
    const int numero_allegati = scrivi_allegati(imp, valori);
    scrivi_chiusura(imp, valori, numero_articoli, numero_pagine, numero_allegati);
    return pdf.GetPage();
}

// Lays the document out on a writer whose output is thrown away and returns
// its page count, so that the closing can state the count of the real one.
int conta_pagine(const ValoriContratto& valori, bool bozza, int numero_pagine) {
    PdfWriter pdf;
    pdf.BeginDoc("/dev/null");
    fs::path temporaneo;
    if (pdf.ErrNumber() != 0) {
        temporaneo = fs::temp_directory_path() / ("contratto-misura-" + std::to_string(::getpid()) + ".pdf");
        pdf.BeginDoc(temporaneo.string());
        if (pdf.ErrNumber() != 0) throw PdfError(pdf.ErrNumber(), pdf.ErrSource(), pdf.ErrDescription());
    }
    const int pagine = impagina(pdf, valori, bozza, numero_pagine);
    pdf.Abort();
    if (!temporaneo.empty()) {
        std::error_code ignorato;
        fs::remove(temporaneo, ignorato);
    }
    return pagine;
}

int pagine_esatte(const ValoriContratto& valori, bool bozza, int stima) {
    int pagine = stima;
    for (int misura = 0; misura < MASSIMO_MISURE; ++misura) {
        const int contate = conta_pagine(valori, bozza, pagine);
        if (contate == pagine) break;
        pagine = contate;
    }
    return pagine;
}

std::string da_utf8(const char* testo) { return utf8_per_messaggio(testo); }

enum class Esito { Scritto, PagineDiverse, Errore };

// One attempt at the real file. On any failure the writer drops its new file
// and the name keeps what it held before.
Esito scrivi_file(const fs::path& nome_file, const ValoriContratto& valori, bool bozza, int& numero_pagine,
                  bool apri_pdf) {
    // The writer takes the system's path bytes as they are.
    PdfWriter pdf;
    pdf.SetProtection(SOLO_STAMPA, PASSWORD_PROPRIETARIO, "");
    pdf.BeginDoc(nome_file.string());
    if (const auto numero = pdf.ErrNumber(); numero != 0) {
        // The writer's description says why (no folder, no permission, disk
        // full) and names the file: the user learns what to do about it.
        if (numero == ERRORE_FILE_NON_APRIBILE)
            mostra_avviso(testi::cp1252(testi::MESSAGGIO_FILE_APERTO) + "\n" + pdf.ErrDescription());
        else
            mostra_errore_critico(pdf.ErrSource() + " - " + pdf.ErrDescription());
        return Esito::Errore;
    }
    try {
        const int pagine = impagina(pdf, valori, bozza, numero_pagine);
        if (pagine != numero_pagine) {
            // Abort drops the new file; the old one keeps its name.
            pdf.Abort();
            numero_pagine = pagine;
            return Esito::PagineDiverse;
        }
        pdf.EndDoc();
        if (pdf.ErrNumber() != 0) throw PdfError(pdf.ErrNumber(), pdf.ErrSource(), pdf.ErrDescription());
    } catch (...) {
        pdf.Abort();
        throw;
    }
    if (apri_pdf) mostra_documento(nome_file);
    return Esito::Scritto;
}

}  // namespace

bool genera_contratto_comproprietari(const fs::path& nome_file, bool apri_pdf) {
    // The parties' fiscal codes and bank details: the draft, the final
    // contract and the measuring passes are their owner's alone, as the data
    // file is.
    const pdf::OwnerOnlyOutput riservato;
    std::map<std::string, std::string> archivio;
    try {
        archivio = leggi_archivio();
    } catch (const ErroreDati& errore) {
        mostra_errore_critico(da_utf8(errore.what()));
        return false;
    }
    const ValoriContratto valori(archivio);
    const bool bozza = e_bozza(nome_file);
    try {
        // The closing states the page count: measure first, then write.
        int numero_pagine = conta_pagine(valori, bozza, 1);
        for (int tentativo = 0;; ++tentativo) {
            switch (scrivi_file(nome_file, valori, bozza, numero_pagine, apri_pdf)) {
                case Esito::Scritto:
                    return true;
                case Esito::Errore:
                    return false;
                case Esito::PagineDiverse:
                    if (tentativo + 1 < MASSIMO_MISURE) numero_pagine = pagine_esatte(valori, bozza, numero_pagine);
                    break;
            }
            if (tentativo + 1 >= MASSIMO_MISURE) {
                mostra_errore_critico(testi::cp1252("contratto - impossibile stabilire il numero delle pagine"));
                return false;
            }
        }
    } catch (const PdfError& errore) {
        mostra_errore_critico(errore.source() + " - " + errore.description());
    } catch (const std::exception& errore) {
        mostra_errore_critico("contratto - " + da_utf8(errore.what()));
    }
    return false;
}
