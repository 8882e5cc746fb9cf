#pragma once

#include "outcome.h"

#include <memory>

namespace lumora {

// An instance of the Flash player control made only to see that one can be made.
class FlashInstance {
public:
    virtual ~FlashInstance() = default;
    virtual void release() = 0; // may throw
};

// Creates instances of the Flash player control.
class FlashControlFactory {
public:
    virtual ~FlashControlFactory() = default;
    // Creates an instance with no parent, or says why none can be created.
    virtual Outcome<std::unique_ptr<FlashInstance>> create() = 0;
};

} // namespace lumora
