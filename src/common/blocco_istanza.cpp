#include "common/blocco_istanza.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "common/cartelle.h"

BloccoIstanza::BloccoIstanza() : BloccoIstanza(file_dati().parent_path() / "dati2.lock") {}

BloccoIstanza::BloccoIstanza(const std::filesystem::path& file_blocco) : file_(file_blocco) {
    const int fd = ::open(file_blocco.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        errore_apertura_ = errno;
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return;
    }
    descrittore_ = fd;
}

BloccoIstanza::~BloccoIstanza() {
    if (descrittore_ >= 0) {
        ::flock(descrittore_, LOCK_UN);
        ::close(descrittore_);
    }
}
