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
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kest::host {

class ChildSync {
public:
    // Which existing children the writer owns.
    using Owned = std::function<bool(XMLNode)>;
    static bool ownsAll(XMLNode) { return true; }

    // `keyAttributes` are the attributes that tell two owned children of one name apart, in the order in
    // which take() is given their values. An empty parent owns nothing and takes nothing.
    ChildSync(XMLNode parent, const Owned& owned, std::initializer_list<const char*> keyAttributes = {});
    ChildSync(const ChildSync&) = delete;
    ChildSync& operator=(const ChildSync&) = delete;
    // Deletes the owned children that were not taken.
    ~ChildSync();

    // The owned child of this name and key that was not taken yet, first in document order; else a new
    // element. Key values not given are empty. returns an empty handle for an empty parent.
    XMLNode take(std::string_view name, std::initializer_list<std::string_view> key = {});

private:
    std::string keyText(std::string_view name, std::initializer_list<std::string_view> key) const;

    XMLNode parent_;
    std::size_t keyCount_;
    XMLNode first_; // the first owned child there was
    XMLNode last_;  // the child taken last
    std::vector<XMLNode> owned_;
    std::unordered_map<std::string, std::vector<std::size_t>> byKey_; // indices into owned_, reversed
};

// The place of the child element `name` of `parent`, for a writer that rebuilds the element: restore() puts
// the rebuilt element back where the old one was, between the same neighbours.
class ElementPlace {
public:
    ElementPlace(const MSXMLWrapper& xml, XMLNode parent, const char* name);
    void restore();

private:
    const MSXMLWrapper& xml_;
    XMLNode parent_;
    const char* name_;
    bool existed_ = false;
    XMLNode before_; // the node before the old element, of any kind; empty when it came first
};

// The child element `name` of `parent`: the existing one, else one appended. returns an empty handle for an
// empty parent.
XMLNode childElement(MSXMLWrapper& xml, XMLNode parent, const char* name);

// Deletes `node` when it has neither attributes nor children left.
void deleteIfEmpty(XMLNode node);

} // namespace kest::host
