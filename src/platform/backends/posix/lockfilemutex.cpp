#include "lockfilemutex.h"

#include <QByteArray>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumora {

LockFileMutex::LockFileMutex(std::vector<std::string> folders)
    : m_folders(folders.empty() ? defaultFolders() : std::move(folders)) {}

std::vector<std::string> LockFileMutex::defaultFolders() {
    std::vector<std::string> folders;
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    if (const std::string runtime = variable("XDG_RUNTIME_DIR"); !runtime.empty())
        folders.push_back(runtime + "/lumora-mutex");
    folders.push_back("/tmp/lumora-mutex-" + std::to_string(::getuid()));
    if (const std::string cache = variable("XDG_CACHE_HOME"); !cache.empty())
        folders.push_back(cache + "/lumora-mutex");
    else if (const std::string home = variable("HOME"); !home.empty())
        folders.push_back(home + "/.cache/lumora-mutex");
    return folders;
}

bool LockFileMutex::isPrivateFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool LockFileMutex::createAlreadyExists(const QString& name) {
    // Mutex names are our own edition names; keep anything else from leaving the folder.
    QByteArray safe = name.toUtf8();
    safe.replace('/', '_');
    for (const std::string& folder : m_folders) {
        ::mkdir(std::filesystem::path(folder).parent_path().c_str(), 0700); // ~/.cache
        ::mkdir(folder.c_str(), 0700);
        if (!isPrivateFolder(folder))
            continue;
        const std::string path = folder + "/" + safe.toStdString() + ".lock";
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return false;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return false; // ours now; the descriptor stays open until the process ends
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held;
    }
    return false;
}

} // namespace lumora
