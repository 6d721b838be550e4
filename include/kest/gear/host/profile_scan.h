#pragma once

// A measured line as the host hands it over: points in the gear's coordinates (y along the profile, z along
// the face width, as the scan's reference parameters say) and named text parameters. A plain value type, so
// that callers and tests can build one without the host's record libraries.

#include <kest/gear/host/vector3d.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kest::host {

class CProfileScanLinear3d {
public:
    using Point = M3DVectorT<double>;

    long GetNumberOfPoints() const noexcept { return static_cast<long>(points_.size()); }
    // returns the zero point for an index outside 0 to GetNumberOfPoints() - 1
    Point GetPoint(long index) const noexcept {
        return index >= 0 && index < GetNumberOfPoints() ? points_[static_cast<std::size_t>(index)] : Point{};
    }
    // Copies the text of parameter `name` with its terminating zero into `buffer` of `size` characters.
    // returns false, leaving the buffer untouched, when there is no such parameter or its text does not fit.
    bool GetParameter(const char* name, char* buffer, std::size_t size) const {
        if (name == nullptr || buffer == nullptr) return false;
        const auto it = parameters_.find(name);
        if (it == parameters_.end() || it->second.size() >= size) return false;
        std::memcpy(buffer, it->second.c_str(), it->second.size() + 1);
        return true;
    }

    void AddPoint(double x, double y, double z) { points_.push_back({x, y, z}); }
    void SetPoints(std::vector<Point> points) { points_ = std::move(points); }
    void SetParameter(const std::string& name, const std::string& text) { parameters_[name] = text; }
    void RemoveParameter(const std::string& name) { parameters_.erase(name); }

private:
    std::vector<Point> points_;
    std::map<std::string, std::string, std::less<>> parameters_;
};

} // namespace kest::host
