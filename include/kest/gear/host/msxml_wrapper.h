#pragma once

#include <kest/gear/host/export.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
struct xml_node_struct;
}

namespace kest::host {

// Handle of one element (or the document) in an MSXMLWrapper's document. An empty handle stands for a missing
// node. Handles stay valid until their node is deleted or the document is replaced.
class GEARRECORDS_API XMLNode {
public:
    XMLNode() = default;
    explicit XMLNode(pugi::xml_node_struct* node) noexcept
        : node_(node) {}

    explicit operator bool() const noexcept { return node_ != nullptr; }
    bool empty() const noexcept { return node_ == nullptr; }

    // returns an empty handle for an empty handle or the document node
    XMLNode parent() const noexcept;
    // returns "" for an empty handle
    const char* name() const noexcept;

    // Direct steps for readers that walk their part of the document once. Each returns an empty handle (or
    // null, or "") where there is nothing.
    // the first child element, and the next element after this one
    XMLNode firstChild() const noexcept;
    XMLNode nextSibling() const noexcept;
    // the first child element named `name`, and the next element of this one's name after it
    XMLNode child(const char* name) const noexcept;
    XMLNode nextNamesake() const noexcept;
    // the attribute's text, null when there is no such attribute
    const char* attribute(const char* name) const noexcept;
    // The texts of several attributes in one pass: values[i] receives the text of the attribute names[i],
    // null where there is none; of two attributes of one name the first counts, as attribute() finds it.
    void attributes(const char* const* names, const char** values, std::size_t count) const noexcept;
    // the element's text as getStringValue reads it
    const char* text() const noexcept;

    pugi::xml_node_struct* internal_object() const noexcept { return node_; }
    friend bool operator==(XMLNode, XMLNode) = default;

private:
    pugi::xml_node_struct* node_ = nullptr;
};

using XMLNodeList = std::vector<XMLNode>;

// The XML document of one record and the DOM operations the records use on it.
//
// A path is relative to the given node, or to the document element when that node is empty. Paths are chains
// of child steps (a name or "*") with attribute predicates joined by "and", for example
// "evaluation/profile[@side='left']/range" or "point[@id=3]"; an empty path addresses the node itself. Paths
// outside that grammar are evaluated as XPath. Lookups never throw: a missing node is an empty handle or
// false.
class GEARRECORDS_API MSXMLWrapper {
public:
    MSXMLWrapper();
    MSXMLWrapper(const MSXMLWrapper& other);
    MSXMLWrapper& operator=(const MSXMLWrapper& other);
    MSXMLWrapper(MSXMLWrapper&&) noexcept;
    MSXMLWrapper& operator=(MSXMLWrapper&&) noexcept;
    ~MSXMLWrapper();

    // Replaces the document by one holding only an empty document element of this name.
    void reset(const char* documentElementName);
    // Replaces the document by the parsed text; on failure the document is unchanged and `error` (if given)
    // holds the parser's description and the byte offset.
    bool parse(std::string_view text, std::string* error = nullptr);
    // Appends the document's text form to `out`.
    void serialize(std::string& out) const;

    // returns an empty handle when the document has no document element
    XMLNode getRootNode() const noexcept;
    // the document node above the document element; never empty
    XMLNode getDocumentNode() const noexcept;

    XMLNode getNode(std::string_view path, XMLNode parent = {}) const;
    XMLNodeList getNodes(std::string_view path, XMLNode parent = {}) const;
    // Finds or creates the element at `path` with any missing ancestors and the attributes its predicates
    // name. With appendNew the last step is always appended as a new element. returns an empty handle if the
    // path cannot name an element to create ("*", XPath).
    XMLNode createNode(std::string_view path, XMLNode parent = {}, bool appendNew = false);
    // returns true when the path could be evaluated (also when nothing matched)
    bool deleteNodes(std::string_view path, XMLNode parent = {});

    // Each returns false, leaving `value` alone, when the element is missing or its text is not of the type.
    bool getStringValue(std::string_view path, std::string& value, XMLNode node = {}) const;
    bool getDoubleValue(std::string_view path, double& value, XMLNode node = {}) const;
    bool getIntValue(std::string_view path, long& value, XMLNode node = {}) const;

    // Each creates the element when it is missing and sets its text. Doubles are written in the shortest form
    // that reads back to the same value. The flag is accepted for the records' sake and has no effect.
    bool setStringValue(std::string_view path, std::string_view value, XMLNode node = {}, bool flag = false);
    bool setDoubleValue(std::string_view path, double value, XMLNode node = {}, bool flag = false);
    bool setIntValue(std::string_view path, long value, XMLNode node = {}, bool flag = false);

    // The attribute's text without a copy; returns null when the node is empty or has no such attribute. The
    // text lives as long as the attribute.
    const char* findAttribute(XMLNode node, const char* name) const noexcept;
    // returns false when the node is empty or has no such attribute
    bool getAttributeValue(XMLNode node, const char* name, std::string& value) const;
    bool addAttributeValue(XMLNode node, const char* name, std::string_view value);
    bool removeAttributeValue(XMLNode node, const char* name);

    // 128-bit XXH3 digest of the node's serialised form, as 32 lower-case hex digits in `hash`; `text`, when
    // given, receives the serialised form. returns false for an empty node.
    bool getXMLContentHash(XMLNode node, std::string* text, std::string* hash) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace kest::host
