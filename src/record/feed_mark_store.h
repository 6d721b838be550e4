#pragma once

// The gear's own copy of the feed-mark result. A large gear file carries hundreds of feed-mark points, and a
// map of public keys and points costs a map node and a tooth list on the heap per point on every load; the
// points are kept flat here instead, in the map's order, and a FeedMarkInformation is made only on request.

#include <kest/gear/gear_parameters.h>
#include <kest/gear/host/msxml_wrapper.h>
#include <kest/gear/measurement_enums.h>
#include <kest/gear/processing_information.h>

#include <cstddef>
#include <span>
#include <vector>

namespace kest::gear {

// The element "calculated_data/feed_mark"; empty when there is none.
host::XMLNode feedMarkElement(const host::MSXMLWrapper& xml);

class FeedMarkStore {
public:
    // Reads the feed-mark element, replacing what the store held; without the element the store is empty and
    // the result true. returns false when an item does not read: a point that does not read is left out, a
    // parameter keeps what it read. Of points with equal keys the later one stays, its key included.
    bool load(host::MSXMLWrapper& xml);
    // Written in place: the parameters by name, the points by their "id" (0, 1, ... in key order). Without
    // parameters nothing is written and the element is deleted.
    bool save(host::MSXMLWrapper& xml) const;

    // The points in a map, each key made again from its side, teeth, kind and index.
    FeedMarkInformation information() const;
    void assign(const FeedMarkInformation& information);
    void clear() noexcept;

private:
    struct Point {
        double position;
        double height;
        Reference positionReference;
        Reference heightReference;
        Measurement_Type type;
        Side side;
        unsigned int measurementIndex;
        unsigned int toothCount;
        // the tooth of a list of one
        unsigned int tooth;
        // for other lists: where the list, followed by its sorted form, starts in teeth_
        std::size_t listStart;
    };

    void add(const Gear_Measurement_Info& key, const MeasurementPathPoint& point);
    std::span<const unsigned int> teeth(const Point& point) const noexcept;
    std::span<const unsigned int> sortedTeeth(const Point& point) const noexcept;
    // Gear_Measurement_Info's order: kind, side, sorted teeth, index.
    bool before(const Point& a, const Point& b) const noexcept;
    // Sorts the points read into key order, keeping the last of equal keys.
    void order();

    std::vector<Gear_General_Parameter> parameters_;
    std::vector<Point> points_;
    std::vector<unsigned int> teeth_;
};

} // namespace kest::gear
