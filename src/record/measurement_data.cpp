#include "record/measurement_data.h"

#include "host/child_sync.h"
#include "host/report.h"
#include "host/user_text_xml.h"
#include "measurement/measurement_xml.h"
#include "record/gear_file_xml.h"
#include "record/gear_paths_internal.h"
#include "util/number_text.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <compare>
#include <cstddef>
#include <deque>
#include <iterator>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

namespace kest::gear {
namespace {

constexpr const char* kNotAbsolute = "Gear::setMeasurement: profilename has to be absolute";

using namespace gear_file_xml;
using namespace measurement_xml;

// The sides a measurement element can name; a measurement over both flanks is stored as such.
constexpr Side kStoredSides[] = {Side::Left, Side::Right, Side::Both};

// The side of a measurement element that the reader takes; false for any other side text.
bool storedSide(const char* text, Side& side) {
    return string_2_Side(text, &side) && std::ranges::find(kStoredSides, side) != std::end(kStoredSides);
}

// A child of "measurement" that this section reads and writes: named by a kind, for a stored side.
bool isMeasurementElement(host::XMLNode node, Measurement_Type& type, Side& side) {
    if (!string_2_Measurement_Type(node.name(), &type)) return false;
    const char* text = node.attribute(kSideAttribute);
    return text != nullptr && storedSide(text, side);
}

} // namespace

// A slot is aligned as operator new aligns, which is enough for a node of the set.
void* MeasurementData::NodePool::take(std::size_t size) {
    if (free_ != nullptr) {
        assert(size <= slotSize_);
        return std::exchange(free_, free_->next);
    }
    if (slotSize_ == 0) {
        constexpr std::size_t alignment = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
        slotSize_ = (std::max(size, sizeof(Free)) + alignment - 1) / alignment * alignment;
    }
    assert(size <= slotSize_);
    if (usedInLast_ == slotsInLast_) {
        slotsInLast_ = std::size_t{8} << std::min(blocks_.size(), std::size_t{3});
        blocks_.push_back(std::make_unique_for_overwrite<std::byte[]>(slotSize_ * slotsInLast_));
        usedInLast_ = 0;
    }
    return blocks_.back().get() + slotSize_ * usedInLast_++;
}

void MeasurementData::NodePool::give(void* slot) noexcept {
    free_ = ::new (slot) Free{free_};
}

std::span<const unsigned int> MeasurementData::Entry::teeth() const noexcept {
    return count_ == 1 ? std::span<const unsigned int>(&tooth_, 1)
                       : std::span<const unsigned int>(teeth_.data(), count_);
}

std::span<const unsigned int> MeasurementData::Entry::sortedTeeth() const noexcept {
    return teeth_.size() > count_ ? std::span<const unsigned int>(teeth_.data() + count_, count_) : teeth();
}

void MeasurementData::Entry::setTeeth(std::span<const unsigned int> teeth) {
    count_ = teeth.size();
    tooth_ = count_ == 1 ? teeth.front() : 0;
    teeth_.clear();
    if (count_ == 1) return;
    const bool ascending = std::ranges::is_sorted(teeth);
    teeth_.reserve(ascending ? count_ : 2 * count_);
    teeth_.assign(teeth.begin(), teeth.end());
    if (ascending) return;
    teeth_.insert(teeth_.end(), teeth.begin(), teeth.end());
    std::sort(teeth_.begin() + static_cast<std::ptrdiff_t>(count_), teeth_.end());
}

MeasurementData::Entry::Entry(const Gear_Measurement_Info& info)
    : type(info.type)
    , side(info.side)
    , measurementIndex(info.measurementIndex) {
    setTeeth(info.teeth);
}

void MeasurementData::Entry::identity(Gear_Measurement_Info& out) const {
    out.type = type;
    out.side = side;
    out.measurementIndex = measurementIndex;
    const std::span<const unsigned int> list = teeth();
    out.teeth.resize(list.size());
    std::ranges::copy(list, out.teeth.begin());
}

namespace {

// What orders the entries, of an entry or of an info.
struct Key {
    Measurement_Type type;
    Side side;
    unsigned int measurementIndex;
    std::span<const unsigned int> teeth;
    std::span<const unsigned int> sorted;
};

Key keyOf(const Gear_Measurement_Info& info) {
    return {info.type, info.side, info.measurementIndex, info.teeth, info.getSortedTeeth()};
}

template <typename Stored>
Key keyOf(const Stored& entry) {
    return {entry.type, entry.side, entry.measurementIndex, entry.teeth(), entry.sortedTeeth()};
}

std::strong_ordering compareTeeth(std::span<const unsigned int> a, std::span<const unsigned int> b) {
    return std::lexicographical_compare_three_way(a.begin(), a.end(), b.begin(), b.end());
}

// The key's order: kind, side, index, sorted teeth, teeth as written.
bool keyBefore(const Key& a, const Key& b) {
    if (a.type != b.type) return a.type < b.type;
    if (a.side != b.side) return a.side < b.side;
    if (a.measurementIndex != b.measurementIndex) return a.measurementIndex < b.measurementIndex;
    if (const auto order = compareTeeth(a.sorted, b.sorted); order != 0) return order < 0;
    return compareTeeth(a.teeth, b.teeth) < 0;
}

// The listing order, that of Gear_Measurement_Info::operator<: kind, side, sorted teeth, index.
bool listedBefore(const Key& a, const Key& b) {
    if (a.type != b.type) return a.type < b.type;
    if (a.side != b.side) return a.side < b.side;
    if (const auto order = compareTeeth(a.sorted, b.sorted); order != 0) return order < 0;
    return a.measurementIndex < b.measurementIndex;
}

// Entries of one kind, side and index whose teeth differ only in their order.
bool sameClass(const Key& a, const Key& b) {
    return a.type == b.type && a.side == b.side && a.measurementIndex == b.measurementIndex &&
           std::ranges::equal(a.sorted, b.sorted);
}

} // namespace

bool MeasurementData::Entries::ByKey::operator()(const Entry& a, const Entry& b) const noexcept {
    // two single teeth, the common case, compared without their lists
    if (a.count_ == 1 && b.count_ == 1)
        return std::tie(a.type, a.side, a.measurementIndex, a.tooth_) <
               std::tie(b.type, b.side, b.measurementIndex, b.tooth_);
    return keyBefore(keyOf(a), keyOf(b));
}

bool MeasurementData::Entries::ByKey::operator()(const Entry& a,
                                                 const Gear_Measurement_Info& b) const noexcept {
    return keyBefore(keyOf(a), keyOf(b));
}

bool MeasurementData::Entries::ByKey::operator()(const Gear_Measurement_Info& a,
                                                 const Entry& b) const noexcept {
    return keyBefore(keyOf(a), keyOf(b));
}

MeasurementData::Entries::Entries(Entries&& other) noexcept
    : entries_(std::move(other.entries_))
    , names_(std::exchange(other.names_, {}))
    , unusedNames_(std::exchange(other.unusedNames_, 0)) {}

MeasurementData::Entries& MeasurementData::Entries::operator=(Entries&& other) noexcept {
    entries_ = std::move(other.entries_);
    names_ = std::exchange(other.names_, {});
    unusedNames_ = std::exchange(other.unusedNames_, 0);
    return *this;
}

std::string_view MeasurementData::Entries::name(const Entry& entry) const noexcept {
    return std::string_view(names_).substr(entry.nameAt_, entry.nameSize_);
}

Gear_Measurement MeasurementData::Entries::measurement(const Entry& entry) const {
    Gear_Measurement out;
    out.type = entry.type;
    out.side = entry.side;
    out.measurementIndex = entry.measurementIndex;
    const std::span<const unsigned int> teeth = entry.teeth();
    out.setTooth(std::vector<unsigned int>(teeth.begin(), teeth.end()));
    out.name = name(entry);
    return out;
}

// The listing order is the order of the infos, in which no two entries are equivalent (see replace()). Within
// a kind and side the key's order runs index by index, each run in the order of the sorted teeth, so that a
// few runs merged give the listing; many runs are sorted instead.
std::vector<const MeasurementData::Entry*> MeasurementData::Entries::listed() const {
    constexpr std::size_t kMostRunsMerged = 8;
    const auto before = [](const Entry* a, const Entry* b) {
        if (a->count_ == 1 && b->count_ == 1)
            return std::tie(a->type, a->side, a->tooth_, a->measurementIndex) <
                   std::tie(b->type, b->side, b->tooth_, b->measurementIndex);
        return listedBefore(keyOf(*a), keyOf(*b));
    };
    std::vector<const Entry*> list;
    list.reserve(entries_.size());
    std::array<std::size_t, kMostRunsMerged> runEnds{};
    std::size_t runs = 0;
    for (const Entry& entry : entries_) {
        if (!list.empty() && !before(list.back(), &entry)) {
            if (runs < runEnds.size()) runEnds[runs] = list.size();
            ++runs;
        }
        list.push_back(&entry);
    }
    if (runs >= runEnds.size()) {
        std::ranges::sort(list, before);
        return list;
    }
    for (std::size_t k = 0; k < runs; ++k) {
        const auto end =
            k + 1 < runs ? list.begin() + static_cast<std::ptrdiff_t>(runEnds[k + 1]) : list.end();
        std::inplace_merge(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(runEnds[k]), end, before);
    }
    return list;
}

// Without teeth, the lowest key of the kind, side and index: the first such entry.
template <typename Identity>
MeasurementData::Entries::Set::const_iterator MeasurementData::Entries::find(const Identity& info) const {
    const auto found = entries_.lower_bound(info);
    if (found == entries_.end()) return found;
    if (info.isToothlistEmpty())
        return found->type == info.type && found->side == info.side &&
                       found->measurementIndex == info.measurementIndex
                   ? found
                   : entries_.end();
    return ByKey()(info, *found) ? entries_.end() : found;
}

MeasurementData::Entries::Set::const_iterator MeasurementData::Entries::remove(Set::const_iterator at) {
    unusedNames_ += at->nameSize_;
    return entries_.erase(at);
}

// Packing costs a walk over the entries and the names in use, which the names dropped since the last packing
// outweigh.
void MeasurementData::Entries::packNames() {
    if (2 * unusedNames_ <= names_.size()) return;
    std::string packed;
    packed.reserve(names_.size() - unusedNames_);
    for (const Entry& entry : entries_) {
        const std::size_t at = packed.size();
        packed.append(names_, entry.nameAt_, entry.nameSize_);
        entry.nameAt_ = at;
    }
    names_ = std::move(packed);
    unusedNames_ = 0;
}

// The entries are kept one per kind, side, sorted teeth and index, the listing order's classes: an entry
// whose teeth only reorder those of a stored one ("2,1" after "1,2") is not taken, unless it replaces an
// entry with its own tooth list. Such entries lie next to each other in the key's order, which sorts by the
// sorted teeth before the teeth as written, so that one look at either neighbour of the entry's place finds
// them.
MeasurementData::Entries::Set::const_iterator MeasurementData::Entries::placeOf(const Entry& entry) {
    const ByKey less;
    // entries set one after another come mostly in the key's order: the end is a likely place
    if (entries_.empty() || less(*std::prev(entries_.end()), entry)) return entries_.end();
    auto at = entries_.lower_bound(entry);
    if (at != entries_.end() && !less(entry, *at)) at = remove(at);
    return at;
}

void MeasurementData::Entries::replace(Entry&& entry, std::string_view name) {
    if (entry.isToothlistEmpty())
        if (const auto found = find(entry); found != entries_.end()) remove(found);
    const auto at = placeOf(entry);
    packNames();
    if (name.empty()) return;
    const Key key = keyOf(entry);
    if ((at != entries_.end() && sameClass(keyOf(*at), key)) ||
        (at != entries_.begin() && sameClass(keyOf(*std::prev(at)), key)))
        return;
    entry.nameAt_ = names_.size();
    entry.nameSize_ = name.size();
    names_.append(name);
    entries_.emplace_hint(at, std::move(entry));
}

// Of the entries of one class, in the order given, an entry with the teeth of the kept one takes its place
// (or, without a name, only removes it), and one that reorders them is not taken: replace()'s rules, applied
// class by class after a stable sort by class. The classes then come in the key's order, one entry each. An
// entry without teeth, which reaches into the entries of other teeth, is put in by replace() itself.
void MeasurementData::Entries::assign(std::span<Named> read) {
    entries_.clear();
    names_.clear();
    unusedNames_ = 0;
    if (std::ranges::any_of(read, [](const Named& n) { return n.entry.isToothlistEmpty(); })) {
        for (Named& n : read)
            replace(std::move(n.entry), n.name);
        return;
    }
    const auto classBefore = [](const Named* a, const Named* b) {
        const Entry& x = a->entry;
        const Entry& y = b->entry;
        if (x.count_ == 1 && y.count_ == 1)
            return std::tie(x.type, x.side, x.measurementIndex, x.tooth_) <
                   std::tie(y.type, y.side, y.measurementIndex, y.tooth_);
        return std::tie(x.type, x.side, x.measurementIndex) < std::tie(y.type, y.side, y.measurementIndex) ||
               (std::tie(x.type, x.side, x.measurementIndex) ==
                    std::tie(y.type, y.side, y.measurementIndex) &&
                compareTeeth(x.sortedTeeth(), y.sortedTeeth()) < 0);
    };
    std::vector<Named*> order(read.size());
    std::ranges::transform(read, order.begin(), [](Named& n) { return &n; });
    if (!std::ranges::is_sorted(order, classBefore)) std::ranges::stable_sort(order, classBefore);

    std::size_t length = 0;
    for (const Named& n : read)
        length += n.name.size();
    names_.reserve(length);
    for (auto first = order.begin(); first != order.end();) {
        Named* kept = nullptr;
        auto next = first;
        for (; next != order.end() && !classBefore(*first, *next); ++next) {
            Named* n = *next;
            if (kept != nullptr && std::ranges::equal(kept->entry.teeth(), n->entry.teeth())) kept = nullptr;
            if (kept == nullptr && !n->name.empty()) kept = n;
        }
        first = next;
        if (kept == nullptr) continue;
        Entry& entry = kept->entry;
        entry.nameAt_ = names_.size();
        entry.nameSize_ = kept->name.size();
        names_.append(kept->name);
        entries_.emplace_hint(entries_.end(), std::move(entry));
    }
}

// The given info stands on the left of ==, so that an info for both flanks clears the entries of either.
bool MeasurementData::clear(const Gear_Measurement_Info& info) {
    for (Entries* set : {&stored_, &transient_})
        set->eraseIf([&](const Entry& entry) {
            // what == looks at before the teeth
            return entry.type == info.type && (info.side == Side::Both || entry.side == info.side) &&
                   entry.measurementIndex == info.measurementIndex && info == set->measurement(entry);
        });
    return true;
}

bool MeasurementData::clear(Measurement_Type type) {
    for (Entries* set : {&stored_, &transient_})
        set->eraseIf([&](const Entry& entry) { return entry.type == type; });
    return true;
}

unsigned int MeasurementData::getAll(std::vector<Gear_Measurement>* out, bool transient) const {
    if (!out) return 0;
    out->clear();
    const Entries& set = transient ? transient_ : stored_;
    for (const Entry* entry : set.listed())
        if (!set.name(*entry).empty()) out->push_back(set.measurement(*entry));
    return static_cast<unsigned int>(out->size());
}

// The index is not compared: this counts the measurements of a kind on those teeth, whatever their index.
unsigned int MeasurementData::count(const Gear_Measurement_Info& info, bool transient) const {
    const Entries& set = transient ? transient_ : stored_;
    const std::string teeth = info.teeth_2_string(true);
    Gear_Measurement_Info identity;
    return static_cast<unsigned int>(std::ranges::count_if(set.all(), [&](const Entry& entry) {
        if (entry.type != info.type || set.name(entry).empty() ||
            (info.side != Side::Both && entry.side != info.side))
            return false;
        entry.identity(identity);
        return identity.teeth_2_string(true) == teeth;
    }));
}

// Only a pitch measurement is taken on a tooth list of its own choosing; the others are named by their teeth.
std::string MeasurementData::toothList(const Gear_Measurement_Info& info, bool transient) const {
    if (info.type != Measurement_Type::Pitch) return {};
    const Entries& set = transient ? transient_ : stored_;
    const auto entry = set.find(info);
    if (entry == set.all().end()) return {};
    Gear_Measurement_Info identity;
    entry->identity(identity);
    return identity.teeth_2_string(true);
}

std::string MeasurementData::name(const Gear_Measurement_Info& info, bool transient) const {
    const Entries& set = transient ? transient_ : stored_;
    const auto entry = set.find(info);
    return entry == set.all().end() ? std::string() : std::string(set.name(*entry));
}

// With a base path, an absolute name is stored relative to it, so that a gear file and its measured profiles
// can move together; without one, only an absolute name has a meaning.
bool MeasurementData::set(const std::string& name, const Gear_Measurement_Info& info, bool transient,
                          const std::string& basePath) {
    std::string_view stored = name;
    std::string converted;
    if (!storedName(stored, basePath, converted)) return false;
    (transient ? transient_ : stored_).replace(Entry(info), stored);
    return true;
}

bool MeasurementData::storedName(std::string_view& name, const std::string& basePath,
                                 std::string& converted) {
    if (!isAbsolutePath(name)) {
        if (!basePath.empty()) return true;
        GR_ERROR_LOG("%s", kNotAbsolute);
        return false;
    }
    if (!basePath.empty()) {
        converted = relativeToGearFile(basePath, std::string(name));
        name = converted;
    }
    return true;
}

// Reads every measurement element of a known kind and side; of two elements for the same measurement the one
// later in the document wins. A tooth list that does not read leaves that measurement out with a warning; a
// name that does not read fails the reader. The other elements are still read.
bool MeasurementData::load(host::MSXMLWrapper& xml, const std::string& gearFile) {
    std::vector<Entries::Named> read;
    // the names that are not the texts of their elements, kept where they do not move
    std::deque<std::string> names;
    bool result = true;
    Gear_Measurement_Info teeth; // read into again and again, so that its room is taken once
    for (host::XMLNode group = xml.getRootNode().child(kMeasurementElement); group;
         group = group.nextNamesake()) {
        for (host::XMLNode node = group.firstChild(); node; node = node.nextSibling()) {
            const char* element = node.name();
            Entries::Named& n = read.emplace_back();
            Entry& entry = n.entry;
            if (!string_2_Measurement_Type(element, &entry.type)) {
                read.pop_back();
                continue;
            }
            const IdentityTexts texts = identityTexts(node);
            if (texts.side == nullptr || !storedSide(texts.side, entry.side)) {
                read.pop_back();
                continue;
            }
            entry.measurementIndex = readMeasurementIndex(texts.measurementIndex, element);
            if (!teeth.setTooth(texts.tooth)) {
                GR_TRACE(1, "element '%s': tooth list '%s' does not read, the measurement is left out",
                         element, texts.tooth ? texts.tooth : "");
                read.pop_back();
                continue;
            }
            entry.setTeeth(teeth.teeth);
            // a name without a base_64 marker is taken where it stands
            n.name = node.text();
            if (texts.base64 != nullptr) {
                std::string decoded;
                if (!host::readUserText(node, texts.base64, decoded)) {
                    result = false;
                    read.pop_back();
                    continue;
                }
                n.name = names.emplace_back(std::move(decoded));
            }
            std::string relative;
            if (!storedName(n.name, gearFile, relative)) {
                result = false;
                read.pop_back();
                continue;
            }
            if (n.name.data() == relative.data()) n.name = names.emplace_back(std::move(relative));
        }
    }
    stored_.assign(read);
    return result;
}

// The measurement elements are written in place (see host::ChildSync), identified by kind, side, tooth list
// and index; the group is made only when there is something to write.
bool MeasurementData::save(host::MSXMLWrapper& xml) const {
    const auto written = [this](const Entry& entry) {
        return !stored_.name(entry).empty() && !entry.isToothlistEmpty();
    };
    host::XMLNode group = xml.getNode(kMeasurementElement);
    if (!group && std::ranges::none_of(stored_.all(), written)) return true;
    if (!group) group = host::childElement(xml, xml.getRootNode(), kMeasurementElement);
    host::ChildSync elements(
        group,
        [](host::XMLNode node) {
            Measurement_Type type{};
            Side side{};
            return isMeasurementElement(node, type, side);
        },
        [&xml](host::XMLNode node) { return identityKey(xml, node); });
    bool result = true;
    Gear_Measurement_Info identity;
    for (const Entry* entry : stored_.listed()) {
        if (!written(*entry)) continue;
        entry->identity(identity);
        // a measurement whose identity a load would refuse is left out, and the save fails
        if (!measurement_xml::readsBack(identity)) {
            result = false;
            continue;
        }
        const host::XMLNode node = elements.takeKeyed(identity.type_2_string(), identityKey(identity));
        if (!node) {
            result = false;
            continue;
        }
        result = measurement_xml::writeIdentity(xml, node, identity) && result;
        result =
            host::writeUserText(xml, node, host::UserText{"", std::string(stored_.name(*entry))}) && result;
    }
    return result;
}

} // namespace kest::gear
