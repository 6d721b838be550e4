#pragma once

// Writing a record's elements in place. A writer names, in its order, the child elements it owns below one
// parent; each is the existing child of that name and key (the values of a few identifying attributes) when
// there is one, so that whatever the writer does not know - other attributes, other children, comments -
// stays with it and in its place. A missing child is inserted after the one named before it (the first
// before the first owned child there was), and the owned children that were not named again are deleted.
// The parent's other children are left alone.

#include <kest/gear/host/msxml_wrapper.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kest::host {

class ChildSync {
public:
    // Which existing children the writer owns.
    using Owned = std::function<bool(XMLNode)>;
    // What tells two owned children of one name apart, as text.
    using Key = std::function<std::string(XMLNode)>;
    static bool ownsAll(XMLNode) { return true; }

    // Children told apart by the values of `keyAttributes`, given to take() in this order. An empty parent
    // owns nothing and takes nothing.
    ChildSync(XMLNode parent, const Owned& owned, std::initializer_list<const char*> keyAttributes = {});
    // Children told apart by `key`, given to take() as the text `key` gives.
    ChildSync(XMLNode parent, const Owned& owned, const Key& key);
    ChildSync(const ChildSync&) = delete;
    ChildSync& operator=(const ChildSync&) = delete;
    // Deletes the owned children that were not taken.
    ~ChildSync();

    // The owned child of this name and key that was not taken yet, first in document order; else a new
    // element. Key values not given are empty. returns an empty handle for an empty parent.
    XMLNode take(std::string_view name, std::initializer_list<std::string_view> key = {});
    XMLNode takeKeyed(std::string_view name, const std::string& key);

private:
    void index(const Owned& owned, const Key& key);
    XMLNode takeByText(const std::string& text);

    XMLNode parent_;
    std::size_t keyCount_ = 0;
    XMLNode first_; // the first owned child there was
    XMLNode last_;  // the child taken last
    std::vector<XMLNode> owned_;
    std::unordered_map<std::string, std::vector<std::size_t>> byKey_; // indices into owned_, reversed
};

// The names a writer knows below the element it rebuilds.
struct KnownNames {
    std::unordered_set<std::string> elements;
    std::unordered_set<std::string> attributes;
};

// Adds the names of the elements and attributes below `node` (its own attributes included) to `known`.
void addNamesBelow(KnownNames& known, XMLNode node);

// For a writer that deletes and rebuilds the child element `name` of `parent`: finish() puts the rebuilt
// element back where the old one was and carries over what the writer does not know: at every level the
// attributes whose names are not in `known`, and the child elements whose names are not in `known`, comments
// and processing instructions, each after the known sibling (or the text) it followed. `known` lists every
// element the writer can write, at any depth, or a known element it left out would come back as unknown.
// Known children are matched by name and position among their namesakes.
class RebuiltElement {
public:
    RebuiltElement(const MSXMLWrapper& xml, XMLNode parent, const char* name);
    RebuiltElement(const RebuiltElement&) = delete;
    RebuiltElement& operator=(const RebuiltElement&) = delete;
    ~RebuiltElement();
    void finish(const KnownNames& known);

private:
    struct Old;
    const MSXMLWrapper& xml_;
    XMLNode parent_;
    const char* name_;
    std::unique_ptr<Old> old_; // null when there was no such element
};

// The child element `name` of `parent`: the existing one, else one appended. returns an empty handle for an
// empty parent.
XMLNode childElement(MSXMLWrapper& xml, XMLNode parent, const char* name);

// Deletes `node` when it has neither attributes nor children left.
void deleteIfEmpty(XMLNode node);

} // namespace kest::host
