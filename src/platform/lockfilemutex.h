#pragma once

#include "singleinstance.h"

#include <string>

namespace lumora {

// A named mutex as a lock file held with flock for the life of the process; the kernel drops
// the lock when the process ends, however it ends.
class LockFileMutex : public NamedMutex {
public:
    // Lock files live in directory; empty means $XDG_RUNTIME_DIR/lumora-mutex, or
    // /tmp/lumora-mutex-<uid> without it.
    explicit LockFileMutex(std::string directory = {});
    bool createAlreadyExists(const QString& name) override;

    static std::string defaultDirectory();

private:
    std::string m_directory;
};

} // namespace lumora
