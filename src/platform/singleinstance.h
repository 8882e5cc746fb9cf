#pragma once

#include <QString>

namespace lumora {

// A system-wide named mutex held for the life of the process.
class NamedMutex {
public:
    virtual ~NamedMutex() = default;
    // Creates the mutex (not owned) and answers whether one of that name already existed.
    // A failure to create it is not reported: the answer is then false.
    virtual bool createAlreadyExists(const QString& name) = 0;
};

} // namespace lumora
