#include "common/errori_sistema.h"

#include <cerrno>
#include <cstring>

std::string descrizione_errore(int codice) {
    switch (codice) {
        case ENOENT: return "file o cartella inesistente";
        case EACCES:
        case EPERM: return "permesso negato: scegliere una cartella in cui si può scrivere";
        case ENOSPC: return "spazio su disco esaurito: liberare spazio o scegliere un altro disco";
        case EDQUOT: return "quota del disco superata: liberare spazio o scegliere un altro disco";
        case EROFS: return "disco in sola lettura: scegliere un'altra cartella";
        case EIO: return "errore di lettura o scrittura sul disco: controllare il disco o la chiavetta";
        case EISDIR: return "è una cartella";
        case ENOTDIR: return "il percorso non è una cartella";
        case EBUSY:
        case ETXTBSY: return "il file è in uso da un altro programma: chiuderlo e riprovare";
        case ENAMETOOLONG: return "nome del file troppo lungo";
        case EMFILE:
        case ENFILE: return "troppi file aperti: chiudere qualche programma e riprovare";
        case ENOEXEC: return "il programma non si può eseguire";
        default: return std::strerror(codice);
    }
}
