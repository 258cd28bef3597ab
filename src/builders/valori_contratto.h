// The values the co-owners contract prints: every key it reads from the data
// store (the last record of each key, trimmed) and the values prepared from
// them before the document starts.
#pragma once

#include <array>
#include <map>
#include <string>
#include <string_view>

class ValoriContratto {
public:
    // Takes from the store's map (keys upper-cased, last record wins) the keys
    // the contract uses; any other key is ignored.
    explicit ValoriContratto(const std::map<std::string, std::string>& archivio);

    // The value of a key, "" when no record holds it. The contract text rounds
    // amounts in place as it prints them (this copy only, never the store).
    std::string& operator[](std::string_view chiave);
    const std::string& valore(std::string_view chiave) const;

    // Title, first name and surname joined with one blank each, empty parts
    // included.
    std::string nominativo_richiedente;
    std::string nominativo_rappresentante_impresa;
    std::string nominativo_direttore_tecnico_impresa;
    std::string nominativo_progettista;
    std::string nominativo_direttore_lavori;
    std::string nominativo_coordinatore_sicurezza;

    // The body of optional article n (13 to 22), its four stored pieces joined.
    const std::string& testo_articolo(int n) const;

    // Every key the contract reads (154).
    static const std::array<std::string_view, 154>& chiavi();

private:
    std::map<std::string, std::string, std::less<>> valori_;
    std::array<std::string, 10> testi_articoli_;
};
