#pragma once

#include "singleinstance.h"

#include <string>
#include <vector>

namespace lumora {

// A named mutex as a lock file held with flock for the life of the process; the kernel drops
// the lock when the process ends, however it ends.
class LockFileMutex : public NamedMutex {
public:
    // Lock files live in the first of the folders that is private (see isPrivateFolder),
    // made when missing; none given means defaultFolders().
    explicit LockFileMutex(std::vector<std::string> folders = {});
    bool createAlreadyExists(const QString& name) override;

    // $XDG_RUNTIME_DIR/lumora-mutex, /tmp/lumora-mutex-<uid>, then a folder in the user's
    // cache folder ($XDG_CACHE_HOME or ~/.cache), for when another user took the one in /tmp.
    static std::vector<std::string> defaultFolders();
    // A real folder (no link) of this user that nobody else may write to: another user could
    // otherwise hold or replace the locks and keep every copy from starting.
    static bool isPrivateFolder(const std::string& path);

private:
    std::vector<std::string> m_folders;
};

} // namespace lumora
