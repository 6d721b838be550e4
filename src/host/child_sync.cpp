#include "host/child_sync.h"

#include <pugixml.hpp>

#include <algorithm>

namespace kest::host {

ChildSync::ChildSync(XMLNode parent, const Owned& owned, std::initializer_list<const char*> keyAttributes)
    : parent_(parent)
    , keyCount_(keyAttributes.size()) {
    const std::vector<const char*> attributes(keyAttributes);
    index(owned, [&attributes](XMLNode node) {
        std::string key;
        for (std::size_t i = 0; i < attributes.size(); ++i) {
            if (i > 0) key += '\0';
            key += pugi::xml_node(node.internal_object()).attribute(attributes[i]).value();
        }
        return key;
    });
}

ChildSync::ChildSync(XMLNode parent, const Owned& owned, const Key& key)
    : parent_(parent) {
    index(owned, key);
}

void ChildSync::index(const Owned& owned, const Key& key) {
    for (pugi::xml_node child = pugi::xml_node(parent_.internal_object()).first_child(); child;
         child = child.next_sibling()) {
        const XMLNode node(child.internal_object());
        if (child.type() != pugi::node_element || !owned(node)) continue;
        byKey_[child.name() + std::string(1, '\0') + key(node)].push_back(owned_.size());
        owned_.push_back(node);
    }
    if (!owned_.empty()) first_ = owned_.front();
    for (auto& [text, indices] : byKey_)
        std::ranges::reverse(indices);
}

ChildSync::~ChildSync() {
    for (const auto& [key, indices] : byKey_)
        for (const std::size_t index : indices) {
            const pugi::xml_node node(owned_[index].internal_object());
            node.parent().remove_child(node);
        }
}

XMLNode ChildSync::take(std::string_view name, std::initializer_list<std::string_view> key) {
    std::string text;
    auto value = key.begin();
    for (std::size_t i = 0; i < keyCount_; ++i) {
        if (i > 0) text += '\0';
        if (value != key.end()) text += *value++;
    }
    return takeKeyed(name, text);
}

XMLNode ChildSync::takeKeyed(std::string_view name, const std::string& key) {
    std::string text(name);
    text += '\0';
    text += key;
    return takeByText(text);
}

// `text` is the name, a NUL and the key.
XMLNode ChildSync::takeByText(const std::string& text) {
    if (!parent_) return {};
    if (const auto found = byKey_.find(text); found != byKey_.end() && !found->second.empty()) {
        last_ = owned_[found->second.back()];
        found->second.pop_back();
        return last_;
    }
    pugi::xml_node parent(parent_.internal_object());
    const std::string name = text.substr(0, text.find('\0'));
    pugi::xml_node added;
    if (last_)
        added = parent.insert_child_after(name.c_str(), pugi::xml_node(last_.internal_object()));
    else if (first_)
        added = parent.insert_child_before(name.c_str(), pugi::xml_node(first_.internal_object()));
    else
        added = parent.append_child(name.c_str());
    last_ = XMLNode(added.internal_object());
    return last_;
}

namespace {

// The element child of `parent` named `name` that has `index` namesakes before it.
pugi::xml_node namesake(pugi::xml_node parent, const char* name, std::size_t index) {
    for (pugi::xml_node child = parent.child(name); child; child = child.next_sibling(name))
        if (index-- == 0) return child;
    return {};
}

// The first text child of `node`, where a carried node that followed the old element's text goes.
pugi::xml_node firstText(pugi::xml_node node) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) return child;
    return {};
}

void carryOver(pugi::xml_node from, pugi::xml_node to, const KnownNames& known) {
    for (const pugi::xml_attribute a : from.attributes())
        if (!known.attributes.contains(a.name()) && !to.attribute(a.name()))
            to.append_attribute(a.name()).set_value(a.value());
    std::unordered_map<std::string_view, std::size_t> seen;
    pugi::xml_node place; // the node of `to` that the next carried node follows
    for (pugi::xml_node child = from.first_child(); child; child = child.next_sibling()) {
        const pugi::xml_node_type type = child.type();
        if (type == pugi::node_pcdata || type == pugi::node_cdata) { // the writer's texts
            if (const pugi::xml_node text = firstText(to)) place = text;
            continue;
        }
        if (type == pugi::node_element && known.elements.contains(child.name())) {
            if (const pugi::xml_node match = namesake(to, child.name(), seen[child.name()]++)) {
                carryOver(child, match, known);
                place = match;
            }
            continue;
        }
        place = place ? to.insert_copy_after(child, place) : to.prepend_copy(child);
    }
}

} // namespace

void addNamesBelow(KnownNames& known, XMLNode node) {
    const pugi::xml_node element(node.internal_object());
    for (const pugi::xml_attribute a : element.attributes())
        known.attributes.insert(a.name());
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        known.elements.insert(child.name());
        addNamesBelow(known, XMLNode(child.internal_object()));
    }
}

struct RebuiltElement::Old {
    pugi::xml_document copy;
    XMLNode before; // the node before the old element, of any kind; empty when it came first
};

RebuiltElement::RebuiltElement(const MSXMLWrapper& xml, XMLNode parent, const char* name)
    : xml_(xml)
    , parent_(parent)
    , name_(name) {
    const XMLNode old = parent ? xml.getNode(name, parent) : XMLNode();
    if (!old) return;
    old_ = std::make_unique<Old>();
    const pugi::xml_node element(old.internal_object());
    old_->copy.append_copy(element);
    old_->before = XMLNode(element.previous_sibling().internal_object());
}

RebuiltElement::~RebuiltElement() = default;

void RebuiltElement::finish(const KnownNames& known) {
    if (!old_) return;
    const XMLNode rebuilt = xml_.getNode(name_, parent_);
    if (!rebuilt) return;
    pugi::xml_node parent(parent_.internal_object());
    const pugi::xml_node moved(rebuilt.internal_object());
    if (old_->before != rebuilt) {
        if (old_->before)
            parent.insert_move_after(moved, pugi::xml_node(old_->before.internal_object()));
        else
            parent.prepend_move(moved);
    }
    carryOver(old_->copy.first_child(), moved, known);
}

XMLNode childElement(MSXMLWrapper& xml, XMLNode parent, const char* name) {
    if (!parent) return {};
    if (const XMLNode existing = xml.getNode(name, parent)) return existing;
    return XMLNode(pugi::xml_node(parent.internal_object()).append_child(name).internal_object());
}

void deleteIfEmpty(XMLNode node) {
    const pugi::xml_node element(node.internal_object());
    if (element && !element.first_attribute() && !element.first_child())
        element.parent().remove_child(element);
}

} // namespace kest::host
