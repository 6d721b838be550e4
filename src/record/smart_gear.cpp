#include <kest/gear/smart_gear.h>

namespace kest::gear {

DestructorCallbacks::~DestructorCallbacks() {
    for (const auto& [callback, argument] : callbacks_)
        callback(argument);
}

bool DestructorCallbacks::add(Callback callback, void* argument) {
    if (callback == nullptr) return false;
    callbacks_.emplace_back(callback, argument);
    return true;
}

SmartGear::~SmartGear() = default;

} // namespace kest::gear
