#include "lockfilemutex.h"

#include <QByteArray>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumora {

LockFileMutex::LockFileMutex(std::string directory)
    : m_directory(directory.empty() ? defaultDirectory() : std::move(directory)) {}

std::string LockFileMutex::defaultDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return std::string(runtime) + "/lumora-mutex";
    return "/tmp/lumora-mutex-" + std::to_string(::getuid());
}

bool LockFileMutex::createAlreadyExists(const QString& name) {
    ::mkdir(m_directory.c_str(), 0700);
    // Mutex names are our own edition names; keep anything else from leaving the directory.
    QByteArray safe = name.toUtf8();
    safe.replace('/', '_');
    const std::string path = m_directory + "/" + safe.toStdString() + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return false; // ours now; the descriptor stays open until the process ends
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

} // namespace lumora
