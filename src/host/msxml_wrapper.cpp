#include <kest/gear/host/msxml_wrapper.h>

#include "host/content_hash.h"
#include "host/xml_path.h"
#include "util/same_text.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kest::host {
namespace {

// What the gear files are parsed with: everything a user may have put in a file survives a load and a save.
constexpr unsigned parseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_comments |
                                  pugi::parse_pi | pugi::parse_doctype;

pugi::xml_node toPugi(XMLNode node) {
    return pugi::xml_node(node.internal_object());
}
XMLNode fromPugi(pugi::xml_node node) {
    return XMLNode(node.internal_object());
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Elements may be nested this deep. An indented save writes each element's depth in spaces, so a chain of
// nested elements grows quadratically on saving: a 2 MB file of 300000 nested elements would need over 100
// GB.
constexpr int maxDepth = 256;

// The first element in document order deeper than maxDepth, and with blankTexts the texts of white space
// only: the parser drops those, but a character reference to NUL (&#0;, which XML does not allow but the
// parser decodes) ends a text early and can leave one, which a second parse of the saved document would drop.
// They go now, so that a second save of a loaded file equals the first. One walk over every node.
pugi::xml_node checkAndTidy(pugi::xml_document& document) {
    struct Walker final : pugi::xml_tree_walker {
        pugi::xml_node tooDeep;
        std::vector<pugi::xml_node> blank;
        bool for_each(pugi::xml_node& node) override {
            const pugi::xml_node_type type = node.type();
            if (type == pugi::node_element && depth() >= maxDepth) tooDeep = node;
            if (type == pugi::node_pcdata && trimmed(node.value()).empty()) blank.push_back(node);
            return !tooDeep;
        }
    } walker;
    document.traverse(walker);
    if (walker.tooDeep) return walker.tooDeep;
    for (pugi::xml_node node : walker.blank)
        node.parent().remove_child(node);
    return {};
}

// The first element in document order deeper than maxDepth, among the children of `parent` (at `depth`) and
// their descendants, in a document parsed from UTF-8 whose text ends for `parent` before offset `end`.
// An element of height h (its deepest descendant h levels below) takes at least 7 h + 4 bytes ("<a>" and
// "</a>" around each level, "<a/>" innermost), so an element whose text up to the next node is too short
// to hold a nesting below the limit is not entered: a large file is checked at the few elements that hold
// the others.
pugi::xml_node findTooDeep(pugi::xml_node parent, int depth, std::ptrdiff_t end) {
    pugi::xml_node child = parent.first_child();
    // where the child's text starts (its name, after the "<"), and where the next node's starts; -1 where
    // unknown
    std::ptrdiff_t start = child ? child.offset_debug() : -1;
    while (child) {
        const pugi::xml_node next = child.next_sibling();
        const std::ptrdiff_t nextStart = next ? next.offset_debug() : end;
        if (child.type() == pugi::node_element) {
            if (depth >= maxDepth) return child;
            const bool shallow =
                start > 0 && nextStart >= 0 && depth + (nextStart - (start - 1) - 4) / 7 < maxDepth;
            if (!shallow)
                if (const pugi::xml_node found = findTooDeep(child, depth + 1, nextStart)) return found;
        }
        child = next;
        start = nextStart;
    }
    return {};
}

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr int kMaxPlainDigits = 15;

// A plain decimal of at most 15 digits with an optional sign ("240", "-12.5"), the usual form of a gear
// file's numbers: its digits are an integer that a double holds exactly, and the division by an exact power
// of ten rounds once, so the result is the correctly rounded value that the full conversion gives as well.
// returns false, leaving `value` alone, for any other text
bool parsePlainDecimal(std::string_view text, double& value) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = -1; // digits after the point; -1 before a point
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            if (++count > kMaxPlainDigits) return false;
            digits = digits * 10 + static_cast<unsigned>(c - '0');
            if (decimals >= 0) ++decimals;
        } else if (c == '.' && decimals < 0 && count > 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    if (count == 0 || decimals == 0) return false;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[decimals < 0 ? 0 : decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

// Reads a whole text as a double; a leading "+" and surrounding white space are allowed.
bool parseDouble(std::string_view text, double& value) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (parsePlainDecimal(text, value)) return true;
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || ptr != text.data() + text.size() || text.empty()) return false;
    value = v;
    return true;
}

bool predicateHolds(pugi::xml_node node, const PathPredicate& p) {
    const pugi::xml_attribute a = node.attribute(p.attribute.c_str());
    if (!a) return false;
    if (!p.numeric) return p.literal == a.value();
    double v = 0.0;
    return parseDouble(a.value(), v) && v == p.number; // XPath compares an attribute with a number as numbers
}

bool stepMatches(pugi::xml_node node, const PathStep& step) {
    if (node.type() != pugi::node_element) return false;
    if (!step.any() && std::strcmp(node.name(), step.name.c_str()) != 0) return false;
    for (const PathPredicate& p : step.predicates)
        if (!predicateHolds(node, p)) return false;
    return true;
}

// The first node in document order reached by steps [index, end).
pugi::xml_node findFirst(pugi::xml_node context, const std::vector<PathStep>& steps, std::size_t index,
                         std::size_t end) {
    if (index == end) return context;
    for (pugi::xml_node child = context.first_child(); child; child = child.next_sibling())
        if (stepMatches(child, steps[index]))
            if (pugi::xml_node found = findFirst(child, steps, index + 1, end)) return found;
    return {};
}

// A chain of child steps visits each node once and in document order, so no sorting is needed.
void findAll(pugi::xml_node context, const std::vector<PathStep>& steps, std::size_t index,
             XMLNodeList& out) {
    if (index == steps.size()) {
        out.push_back(fromPugi(context));
        return;
    }
    for (pugi::xml_node child = context.first_child(); child; child = child.next_sibling())
        if (stepMatches(child, steps[index])) findAll(child, steps, index + 1, out);
}

pugi::xml_node appendStep(pugi::xml_node parent, const PathStep& step) {
    pugi::xml_node node = parent.append_child(step.name.c_str());
    for (const PathPredicate& p : step.predicates)
        node.append_attribute(p.attribute.c_str()).set_value(p.literal.c_str());
    return node;
}

// the characters of the other forms (predicates, wildcards, attributes, functions, prefixes, axes, unions),
// and NUL, which no element name holds
constexpr std::array<bool, 256> kNotPlain = [] {
    std::array<bool, 256> table{};
    for (const char c : std::string_view("[*@(: .|\0", 10))
        table[static_cast<unsigned char>(c)] = true;
    return table;
}();

// A path of plain element names joined by "/" ("point", "geometry/face_width"): the readers' common case,
// found by a direct walk without the compiled-path cache. A prefixed name ("ns:speed") takes the general
// road.
bool isPlainPath(std::string_view path) {
    if (path.empty() || path.front() == '/' || path.back() == '/') return false;
    char previous = '\0';
    for (const char c : path) {
        if (kNotPlain[static_cast<unsigned char>(c)] || (c == '/' && previous == '/')) return false;
        previous = c;
    }
    return true;
}

bool nameIs(pugi::xml_node node, std::string_view name) {
    if (node.type() != pugi::node_element) return false;
    return std::string_view(node.name()) == name;
}

// Calls `visit` with each child element named `name`, in document order, while it returns true. A name of
// usual length is looked for by the parser's own search, which passes over the other children in one call.
template <typename Visit>
void eachNamedChild(pugi::xml_node context, std::string_view name, Visit visit) {
    char terminated[64];
    const bool byName = name.size() < sizeof terminated; // a plain path holds no NUL
    if (byName) {
        std::memcpy(terminated, name.data(), name.size());
        terminated[name.size()] = '\0';
    }
    for (pugi::xml_node child = byName ? context.child(terminated) : context.first_child(); child;
         child = byName ? child.next_sibling(terminated) : child.next_sibling())
        // what the search by name finds is passed over only when it is an instruction of that name
        if ((byName ? child.type() == pugi::node_element : nameIs(child, name)) && !visit(child)) return;
}

// The first element in document order reached by the names of `path`, as findFirst finds it.
pugi::xml_node findPlain(pugi::xml_node context, std::string_view path) {
    const std::size_t slash = path.find('/');
    pugi::xml_node found;
    eachNamedChild(context, path.substr(0, slash), [&](pugi::xml_node child) {
        found = slash == std::string_view::npos ? child : findPlain(child, path.substr(slash + 1));
        return !found;
    });
    return found;
}

void formatDouble(double value, char (&buffer)[32], std::size_t& length) {
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    length = ec == std::errc() ? static_cast<std::size_t>(ptr - buffer) : 0;
}

} // namespace

XMLNode XMLNode::parent() const noexcept {
    const pugi::xml_node p = pugi::xml_node(node_).parent();
    return p.type() == pugi::node_element ? fromPugi(p) : XMLNode();
}

const char* XMLNode::name() const noexcept {
    return pugi::xml_node(node_).name();
}

namespace {

pugi::xml_node elementFrom(pugi::xml_node node) {
    while (node && node.type() != pugi::node_element)
        node = node.next_sibling();
    return node;
}

} // namespace

XMLNode XMLNode::firstChild() const noexcept {
    return fromPugi(elementFrom(pugi::xml_node(node_).first_child()));
}

XMLNode XMLNode::nextSibling() const noexcept {
    return fromPugi(elementFrom(pugi::xml_node(node_).next_sibling()));
}

XMLNode XMLNode::child(const char* name) const noexcept {
    pugi::xml_node node = pugi::xml_node(node_).first_child();
    while (node && (node.type() != pugi::node_element || !gear::util::sameText(node.name(), name)))
        node = node.next_sibling();
    return fromPugi(node);
}

XMLNode XMLNode::nextNamesake() const noexcept {
    const pugi::xml_node self(node_);
    pugi::xml_node node = self.next_sibling(self.name());
    while (node && node.type() != pugi::node_element)
        node = node.next_sibling(self.name());
    return fromPugi(node);
}

const char* XMLNode::attribute(const char* name) const noexcept {
    const pugi::xml_attribute a = pugi::xml_node(node_).attribute(name);
    return a ? a.value() : nullptr;
}

void XMLNode::attributes(const char* const* names, const char** values, std::size_t count) const noexcept {
    std::fill_n(values, count, nullptr);
    for (pugi::xml_attribute a = pugi::xml_node(node_).first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        for (std::size_t i = 0; i < count; ++i)
            if (values[i] == nullptr && gear::util::sameText(name, names[i])) {
                values[i] = a.value();
                break;
            }
    }
}

// The first text child's value, as xml_text reads it for an element, in one call.
const char* XMLNode::text() const noexcept {
    return pugi::xml_node(node_).child_value();
}

struct MSXMLWrapper::Impl {
    pugi::xml_document document;

    // The node a path starts from: the given one, else the document element.
    pugi::xml_node context(XMLNode node) const { return node ? toPugi(node) : document.document_element(); }
};

MSXMLWrapper::MSXMLWrapper()
    : impl_(std::make_unique<Impl>()) {}
MSXMLWrapper::MSXMLWrapper(const MSXMLWrapper& other)
    : impl_(std::make_unique<Impl>()) {
    impl_->document.reset(other.impl_->document);
}
MSXMLWrapper& MSXMLWrapper::operator=(const MSXMLWrapper& other) {
    if (this != &other) impl_->document.reset(other.impl_->document);
    return *this;
}
MSXMLWrapper::MSXMLWrapper(MSXMLWrapper&&) noexcept = default;
MSXMLWrapper& MSXMLWrapper::operator=(MSXMLWrapper&&) noexcept = default;
MSXMLWrapper::~MSXMLWrapper() = default;

void MSXMLWrapper::reset(const char* documentElementName) {
    impl_->document.reset();
    impl_->document.append_child(documentElementName);
}

bool MSXMLWrapper::parse(std::string_view text, std::string* error) {
    pugi::xml_document parsed;
    const pugi::xml_parse_result result = parsed.load_buffer(text.data(), text.size(), parseOptions);
    if (!result) {
        if (error)
            *error = std::string(result.description()) + " at byte offset " + std::to_string(result.offset);
        return false;
    }
    // Only a character reference can leave a blank text; in another encoding than UTF-8, where the text's
    // offsets are not those of the parsed document, every node is walked.
    const bool walkAll = result.encoding != pugi::encoding_utf8 || text.find("&#") != std::string_view::npos;
    if (const pugi::xml_node deep = walkAll
                                        ? checkAndTidy(parsed)
                                        : findTooDeep(parsed, 0, static_cast<std::ptrdiff_t>(text.size()))) {
        if (error)
            *error = "elements nested deeper than " + std::to_string(maxDepth) + " levels at byte offset " +
                     std::to_string(deep.offset_debug());
        return false;
    }
    // The parser turns every encoding it knows into UTF-8, and the document is always written as UTF-8: a
    // declaration that names another encoding (ISO-8859-1, UTF-16) is corrected now, or the saved file would
    // be read in that encoding again and its texts changed.
    if (result.encoding != pugi::encoding_utf8)
        if (pugi::xml_attribute encoding = parsed.first_child().attribute("encoding");
            encoding && parsed.first_child().type() == pugi::node_declaration)
            encoding.set_value("UTF-8");
    // Parsed into a document of its own, so that a failure leaves the current one alone; taken over by move.
    impl_->document = std::move(parsed);
    return true;
}

void MSXMLWrapper::serialize(std::string& out) const {
    struct StringWriter final : pugi::xml_writer {
        std::string* out;
        void write(const void* data, size_t size) override {
            out->append(static_cast<const char*>(data), size);
        }
    } writer;
    writer.out = &out;
    impl_->document.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
}

XMLNode MSXMLWrapper::getRootNode() const noexcept {
    return fromPugi(impl_->document.document_element());
}
XMLNode MSXMLWrapper::getDocumentNode() const noexcept {
    return fromPugi(impl_->document);
}

XMLNode MSXMLWrapper::getNode(std::string_view path, XMLNode parent) const {
    const pugi::xml_node context = impl_->context(parent);
    if (!context) return {};
    if (path.empty()) return fromPugi(context);
    if (isPlainPath(path)) return fromPugi(findPlain(context, path));
    const auto compiled = compilePath(path);
    if (!compiled->valid) return {};
    if (compiled->xpath) {
        const pugi::xpath_node_set found = compiled->xpath->evaluate_node_set(context);
        return found.empty() ? XMLNode() : fromPugi(found.first().node());
    }
    return fromPugi(findFirst(context, compiled->steps, 0, compiled->steps.size()));
}

XMLNodeList MSXMLWrapper::getNodes(std::string_view path, XMLNode parent) const {
    XMLNodeList nodes;
    const pugi::xml_node context = impl_->context(parent);
    if (!context) return nodes;
    if (path == "*") {
        for (pugi::xml_node child = context.first_child(); child; child = child.next_sibling())
            if (child.type() == pugi::node_element) nodes.push_back(fromPugi(child));
        return nodes;
    }
    if (isPlainPath(path) && path.find('/') == std::string_view::npos) {
        eachNamedChild(context, path, [&nodes](pugi::xml_node child) {
            nodes.push_back(fromPugi(child));
            return true;
        });
        return nodes;
    }
    const auto compiled = compilePath(path);
    if (!compiled->valid) return nodes;
    if (compiled->xpath) {
        pugi::xpath_node_set found = compiled->xpath->evaluate_node_set(context);
        found.sort();
        for (const pugi::xpath_node& n : found)
            if (n.node()) nodes.push_back(fromPugi(n.node()));
        return nodes;
    }
    findAll(context, compiled->steps, 0, nodes);
    return nodes;
}

XMLNode MSXMLWrapper::createNode(std::string_view path, XMLNode parent, bool appendNew) {
    const pugi::xml_node context = impl_->context(parent);
    if (!context) return {};
    const auto compiled = compilePath(path);
    if (!compiled->valid || compiled->xpath) return {};
    const std::vector<PathStep>& steps = compiled->steps;
    // Create below the longest prefix that exists, found exactly as getNode finds it, so that a later getNode
    // of the same path finds what was created here.
    std::size_t existing = appendNew && !steps.empty() ? steps.size() - 1 : steps.size();
    pugi::xml_node node;
    for (;; --existing) {
        node = findFirst(context, steps, 0, existing);
        if (node || existing == 0) break;
    }
    if (!node) return {};
    for (std::size_t i = existing; i < steps.size(); ++i) {
        if (steps[i].any()) return {};
        node = appendStep(node, steps[i]);
    }
    return fromPugi(node);
}

bool MSXMLWrapper::deleteNodes(std::string_view path, XMLNode parent) {
    if (!compilePath(path)->valid) return false;
    for (const XMLNode n : getNodes(path, parent)) {
        pugi::xml_node node = toPugi(n);
        if (node.type() == pugi::node_element) node.parent().remove_child(node);
    }
    return true;
}

bool MSXMLWrapper::getStringValue(std::string_view path, std::string& value, XMLNode node) const {
    const pugi::xml_node element = toPugi(getNode(path, node));
    if (!element) return false;
    value = element.child_value();
    return true;
}

bool MSXMLWrapper::getDoubleValue(std::string_view path, double& value, XMLNode node) const {
    if (path.empty() && node) return parseDouble(toPugi(node).child_value(), value); // the element's own text
    const pugi::xml_node element = toPugi(getNode(path, node));
    return element && parseDouble(element.child_value(), value);
}

bool MSXMLWrapper::getIntValue(std::string_view path, long& value, XMLNode node) const {
    const pugi::xml_node element = toPugi(getNode(path, node));
    if (!element) return false;
    std::string_view text = trimmed(element.child_value());
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc() && ptr == text.data() + text.size() && !text.empty()) {
        value = v;
        return true;
    }
    // an integral number written as a double ("20.0") reads as that integer
    double d = 0.0;
    if (!parseDouble(text, d) || d != std::trunc(d) || std::fabs(d) > 9.0e18) return false;
    value = static_cast<long>(d);
    return true;
}

bool MSXMLWrapper::setStringValue(std::string_view path, std::string_view value, XMLNode node, bool) {
    pugi::xml_node element =
        toPugi(path.empty() ? (node ? node : getRootNode()) : createNode(path, node, false));
    return element && element.text().set(value.data(), value.size());
}

bool MSXMLWrapper::setDoubleValue(std::string_view path, double value, XMLNode node, bool flag) {
    char buffer[32];
    std::size_t length = 0;
    formatDouble(value, buffer, length);
    return setStringValue(path, std::string_view(buffer, length), node, flag);
}

bool MSXMLWrapper::setIntValue(std::string_view path, long value, XMLNode node, bool flag) {
    char buffer[24];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() &&
           setStringValue(path, std::string_view(buffer, static_cast<std::size_t>(ptr - buffer)), node, flag);
}

const char* MSXMLWrapper::findAttribute(XMLNode node, const char* name) const noexcept {
    const pugi::xml_attribute a = toPugi(node).attribute(name);
    return a ? a.value() : nullptr;
}

bool MSXMLWrapper::getAttributeValue(XMLNode node, const char* name, std::string& value) const {
    const pugi::xml_attribute a = toPugi(node).attribute(name);
    if (!a) return false;
    value = a.value();
    return true;
}

bool MSXMLWrapper::addAttributeValue(XMLNode node, const char* name, std::string_view value) {
    pugi::xml_node element = toPugi(node);
    if (element.type() != pugi::node_element) return false;
    pugi::xml_attribute a = element.attribute(name);
    if (!a) a = element.append_attribute(name);
    return a && a.set_value(value.data(), value.size());
}

bool MSXMLWrapper::removeAttributeValue(XMLNode node, const char* name) {
    pugi::xml_node element = toPugi(node);
    return element && element.remove_attribute(name);
}

bool MSXMLWrapper::getXMLContentHash(XMLNode node, std::string* text, std::string* hash) const {
    if (!node || !hash) return false;
    *hash = contentHash(toPugi(node), text);
    return true;
}

} // namespace kest::host
