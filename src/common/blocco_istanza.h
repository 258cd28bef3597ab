// Only one copy of the program may work on a data file at a time: the first
// copy holds an exclusive lock (flock) on a lock file beside the data file for
// as long as it runs. The lock goes with the process, so a crash never leaves
// a stale lock behind.
#pragma once

#include <filesystem>

class BloccoIstanza {
public:
    // Tries to lock the lock file beside file_dati() ("dati2.lock").
    BloccoIstanza();
    // Tries to lock the given lock file (created when missing).
    explicit BloccoIstanza(const std::filesystem::path& file_blocco);
    ~BloccoIstanza();
    BloccoIstanza(const BloccoIstanza&) = delete;
    BloccoIstanza& operator=(const BloccoIstanza&) = delete;

    // True when this object holds the lock; false when another copy holds it
    // or the lock file could not be opened.
    bool acquisito() const { return descrittore_ >= 0; }
    // The system's error number when the lock file could not be opened (no
    // writable folder); 0 when it was opened (held by another copy or by us).
    int errore_apertura() const { return errore_apertura_; }
    const std::filesystem::path& file() const { return file_; }

private:
    int descrittore_ = -1;
    int errore_apertura_ = 0;
    std::filesystem::path file_;
};
