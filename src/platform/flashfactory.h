#pragma once

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
    // Creates an instance with no parent; throws when it cannot be created.
    virtual std::unique_ptr<FlashInstance> create() = 0;
};

} // namespace lumora
