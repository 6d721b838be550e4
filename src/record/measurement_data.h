#pragma once

// Which measured profile belongs to which measurement: a stored set, saved in the gear file, and a transient
// one.

#include <kest/gear/gear_measurement_info.h>
#include <kest/gear/host/msxml_wrapper.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace kest::gear {

class MeasurementData {
public:
    bool clear(const Gear_Measurement_Info& info);
    bool clear(Measurement_Type type);
    unsigned int getAll(std::vector<Gear_Measurement>* out, bool transient) const;
    unsigned int count(const Gear_Measurement_Info& info, bool transient) const;
    std::string toothList(const Gear_Measurement_Info& info, bool transient) const;
    std::string name(const Gear_Measurement_Info& info, bool transient) const;
    bool set(const std::string& name, const Gear_Measurement_Info& info, bool transient,
             const std::string& basePath);

    // Puts the file's measurements in place of the stored set, their names relative to `gearFile`.
    bool load(host::MSXMLWrapper& xml, const std::string& gearFile);
    bool save(host::MSXMLWrapper& xml) const;

private:
    class Entries;
    class Entry;
    // The name as a set keeps it: an absolute one relative to `basePath` (into `converted`), when there is a
    // base path. returns false, with an error logged, for a name that is not absolute without a base path.
    static bool storedName(std::string_view& name, const std::string& basePath, std::string& converted);

    // Hands out the nodes of one set from blocks of its own and takes them back into a free list, so that an
    // entry costs no call into the heap once its block is there, and the set's blocks go at once with it. All
    // slots have the size of the first one taken.
    class NodePool {
    public:
        void* take(std::size_t size);
        void give(void* slot) noexcept;

    private:
        struct Free {
            Free* next;
        };
        std::size_t slotSize_ = 0;
        // blocks of 8, 16, 32 and then 64 slots
        std::vector<std::unique_ptr<std::byte[]>> blocks_;
        std::size_t slotsInLast_ = 0;
        std::size_t usedInLast_ = 0;
        Free* free_ = nullptr;
    };

    // The allocator of the entries' set over a NodePool. A copy of a set gets a pool of its own; a set moved
    // from keeps sharing the pool it had, so that it stays usable. Not for sets used by several threads at
    // once, which a set of the standard library is not either.
    template <typename T>
    class PoolAllocator {
    public:
        using value_type = T;
        using propagate_on_container_copy_assignment = std::false_type;
        using propagate_on_container_move_assignment = std::true_type;
        using propagate_on_container_swap = std::true_type;
        using is_always_equal = std::false_type;

        // The pool is made with the first node.
        PoolAllocator() = default;
        // a copy, moved or not, shares the pool
        PoolAllocator(const PoolAllocator&) noexcept = default;
        PoolAllocator& operator=(const PoolAllocator&) noexcept = default;
        template <typename U>
        explicit(false) PoolAllocator(const PoolAllocator<U>& other) noexcept
            : pool_(other.pool_) {}
        ~PoolAllocator() = default;

        PoolAllocator select_on_container_copy_construction() const { return {}; }
        T* allocate(std::size_t n) {
            if (n != 1) return std::allocator<T>().allocate(n);
            if (!pool_) pool_ = std::make_shared<NodePool>();
            return static_cast<T*>(pool_->take(sizeof(T)));
        }
        void deallocate(T* p, std::size_t n) noexcept {
            if (n == 1)
                pool_->give(p);
            else
                std::allocator<T>().deallocate(p, n);
        }
        template <typename U>
        bool operator==(const PoolAllocator<U>& other) const noexcept {
            return pool_ == other.pool_;
        }

    private:
        template <typename U>
        friend class PoolAllocator;
        std::shared_ptr<NodePool> pool_;
    };

    // One entry of a set, kept small because a load of a large gear file puts in thousands of them: the
    // identity without the lists derived from the teeth, a single tooth without a heap block, and the name
    // as a place in the texts of its set. The public objects are made from it when they are handed out.
    class Entry {
    public:
        Measurement_Type type = Measurement_Type::Profile;
        Side side = Side::Left;
        unsigned int measurementIndex = 0;

        Entry() = default;
        // the identity of `info`, without a name
        explicit Entry(const Gear_Measurement_Info& info);

        std::span<const unsigned int> teeth() const noexcept;
        // the teeth in ascending order, duplicates kept
        std::span<const unsigned int> sortedTeeth() const noexcept;
        bool isToothlistEmpty() const noexcept { return count_ == 0; }
        void setTeeth(std::span<const unsigned int> teeth);
        // Sets the kind, side, index and teeth of `out` and leaves the lists derived from the teeth as they
        // were: enough for the info's texts and for writing it.
        void identity(Gear_Measurement_Info& out) const;

    private:
        friend class Entries;
        unsigned int tooth_ = 0; // the tooth of a list of one
        std::size_t count_ = 0;  // the length of the list
        // a longer list, followed by its sorted form when it is not ascending
        std::vector<unsigned int> teeth_;
        // the name's place in the texts of the set; it may move while the entry stays
        mutable std::size_t nameAt_ = 0;
        mutable std::size_t nameSize_ = 0;
    };

    // The entries of one set, ordered by what identifies an entry: kind, side, measurement index and tooth
    // list (sorted, then as written), so that an entry is found and replaced in logarithmic time. They are
    // listed in another order, by kind, side, sorted teeth and index.
    class Entries {
    public:
        // The order of the identities; an info without teeth comes first among those of its kind, side and
        // index.
        struct ByKey {
            using is_transparent = void;
            bool operator()(const Entry& a, const Entry& b) const noexcept;
            bool operator()(const Entry& a, const Gear_Measurement_Info& b) const noexcept;
            bool operator()(const Gear_Measurement_Info& a, const Entry& b) const noexcept;
        };
        using Set = std::set<Entry, ByKey, PoolAllocator<Entry>>;

        Entries() = default;
        Entries(const Entries&) = default;
        Entries& operator=(const Entries&) = default;
        // A set moved from is left empty, without names.
        Entries(Entries&& other) noexcept;
        Entries& operator=(Entries&& other) noexcept;
        ~Entries() = default;

        const Set& all() const noexcept { return entries_; }
        // The name of an entry of this set; valid until the set changes.
        std::string_view name(const Entry& entry) const noexcept;
        // The entry as the public type.
        Gear_Measurement measurement(const Entry& entry) const;
        // The entries in the order in which they are listed and written.
        std::vector<const Entry*> listed() const;
        // The entry that stands for `info`: of the same kind, side and index and, when the info names teeth,
        // of the same tooth text; without teeth the first such entry. returns all().end() when there is none.
        // `info` is a Gear_Measurement_Info or an Entry.
        template <typename Identity>
        Set::const_iterator find(const Identity& info) const;
        // Puts the entry, named `name`, in place of the one with its key; an empty name only removes that
        // one. An entry without teeth also removes the first entry of its kind, side and index, and an entry
        // whose teeth only reorder those of a stored one is not taken.
        void replace(Entry&& entry, std::string_view name);
        // An entry with its name, as a reader found it.
        struct Named {
            Entry entry;
            std::string_view name;
        };
        // Makes the set what replace() would make of an empty one given `read` one after another, with one
        // sort instead of a search for each entry.
        void assign(std::span<Named> read);
        template <typename Predicate>
        void eraseIf(Predicate erase) {
            for (auto at = entries_.cbegin(); at != entries_.cend();)
                at = erase(*at) ? remove(at) : std::next(at);
            packNames();
        }

    private:
        // The place of the entry in the key's order, the entry with its key removed.
        Set::const_iterator placeOf(const Entry& entry);
        Set::const_iterator remove(Set::const_iterator at);
        // Drops the texts of removed names once they are more than those in use, so that a set whose
        // entries are replaced again and again keeps a bounded size.
        void packNames();

        Set entries_;
        // the names of the entries, one after another, without an allocation of their own
        std::string names_;
        std::size_t unusedNames_ = 0;
    };

    Entries stored_;
    Entries transient_;
};

} // namespace kest::gear
