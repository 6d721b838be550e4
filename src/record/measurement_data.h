#pragma once

// Which measured profile belongs to which measurement: a stored set, saved in the gear file, and a transient
// one.

#include <kest/gear/gear_measurement_info.h>
#include <kest/gear/host/msxml_wrapper.h>

#include <set>
#include <string>
#include <tuple>
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

    // Adds the file's measurements to the stored set, their names relative to `gearFile`.
    bool load(host::MSXMLWrapper& xml, const std::string& gearFile);
    bool save(host::MSXMLWrapper& xml) const;

private:
    // set() with the name in the entry, which is moved in.
    bool set(Gear_Measurement entry, bool transient, const std::string& basePath);

    // The entries of one set, with an index by what identifies an entry: kind, side, measurement index and
    // tooth list (sorted, then as written), so that an entry is found and replaced in logarithmic time.
    class Entries {
    public:
        using Set = std::set<Gear_Measurement>;
        Entries() = default;
        // The index holds iterators into its own set: a copy indexes its own set afresh. A moved set keeps
        // its nodes, and the iterators with them.
        Entries(const Entries& other)
            : entries_(other.entries_) {
            reindex();
        }
        Entries& operator=(const Entries& other) {
            if (this != &other) {
                entries_ = other.entries_;
                reindex();
            }
            return *this;
        }
        Entries(Entries&&) noexcept = default;
        Entries& operator=(Entries&&) noexcept = default;
        ~Entries() = default;

        const Set& all() const noexcept { return entries_; }
        // The entry that stands for `info`: of the same kind, side and index and, when the info names teeth,
        // of the same tooth text; without teeth the first such entry. returns all().end() when there is none.
        Set::const_iterator find(const Gear_Measurement_Info& info) const;
        // Puts the entry in place of the one with its key; an entry without a name only removes that one.
        void replace(Gear_Measurement entry);
        template <typename Predicate>
        void eraseIf(Predicate erase) {
            std::erase_if(entries_, erase);
            reindex();
        }

    private:
        // What the index orders by, as references into an entry or an info: the tooth list as written stands
        // for its text, which it gives one to one. Without teeth the lists are empty and sort first.
        using Key = std::tuple<const Measurement_Type&, const Side&, const unsigned int&,
                               const std::vector<unsigned int>&, const std::vector<unsigned int>&>;
        static Key keyOf(const Gear_Measurement_Info& info, bool withTeeth);
        struct ByKey {
            using is_transparent = void;
            static Key key(Set::const_iterator entry) { return keyOf(*entry, true); }
            static const Key& key(const Key& key) { return key; }
            template <typename A, typename B>
            bool operator()(const A& a, const B& b) const {
                return key(a) < key(b);
            }
        };
        void reindex();
        Set entries_;
        std::set<Set::const_iterator, ByKey> index_;
    };

    Entries stored_;
    Entries transient_;
};

} // namespace kest::gear
