#pragma once

// The handle through which the suite's programs keep a loaded gear. Of the handle, the library holds what
// happens when it goes away: the callbacks registered with it are called.

#include <kest/gear/host/export.h>

#include <string>
#include <utility>
#include <vector>

namespace kest::gear {

// Callbacks to be called, each with its argument, when the holder is destroyed, in the order of registration.
// A callback must not throw. The holder is neither copied nor moved, so that no callback runs twice.
class GEARRECORDS_API DestructorCallbacks {
public:
    using Callback = void (*)(void* argument);

    DestructorCallbacks() = default;
    DestructorCallbacks(const DestructorCallbacks&) = delete;
    DestructorCallbacks& operator=(const DestructorCallbacks&) = delete;
    virtual ~DestructorCallbacks();

    // returns false, registering nothing, for a null callback
    bool add(Callback callback, void* argument);

private:
    std::vector<std::pair<Callback, void*>> callbacks_;
};

class GEARRECORDS_API SmartGear {
public:
    SmartGear() = default;
    SmartGear(const SmartGear&) = delete;
    SmartGear& operator=(const SmartGear&) = delete;
    virtual ~SmartGear();

    // Registers `callback` to be called with `argument` when the handle is destroyed. returns false,
    // registering nothing, for a null callback
    bool addDestructorCallback(DestructorCallbacks::Callback callback, void* argument) {
        return destructorCallbacks_.add(callback, argument);
    }

protected:
    // Declared before the name, so that the callbacks run after the name is gone.
    DestructorCallbacks destructorCallbacks_;
    std::string name_;
};

} // namespace kest::gear
