#include "host/xml_path.h"

#include <pugixml.hpp>

#include <charconv>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

namespace kest::host {
namespace {

bool isNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}
// A prefixed name ("ns:speed") is one name: elements are matched by their full name, prefix included.
bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ':';
}
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A cursor over the path text; every reader returns false without consuming on a mismatch of its own.
class Reader {
public:
    explicit Reader(std::string_view text)
        : text_(text) {}
    bool done() const { return pos_ == text_.size(); }
    char peek() const { return done() ? '\0' : text_[pos_]; }
    void skipSpace() {
        while (!done() && isSpace(text_[pos_]))
            ++pos_;
    }
    bool consume(char c) {
        if (peek() != c) return false;
        ++pos_;
        return true;
    }
    bool name(std::string& out) {
        if (!isNameStart(peek())) return false;
        const std::size_t start = pos_;
        while (!done() && isNameChar(text_[pos_]))
            ++pos_;
        out.assign(text_.substr(start, pos_ - start));
        return true;
    }
    // "and" followed by a space, so that an attribute named "andx" is not taken for the keyword
    bool keywordAnd() {
        if (text_.substr(pos_, 3) != "and" || pos_ + 3 >= text_.size() || !isSpace(text_[pos_ + 3]))
            return false;
        pos_ += 3;
        return true;
    }
    bool literal(PathPredicate& p) {
        const char quote = peek();
        if (quote == '\'' || quote == '"') {
            const std::size_t end = text_.find(quote, pos_ + 1);
            if (end == std::string_view::npos) return false;
            p.literal.assign(text_.substr(pos_ + 1, end - pos_ - 1));
            p.numeric = false;
            pos_ = end + 1;
            return true;
        }
        const char* first = text_.data() + pos_;
        const char* last = text_.data() + text_.size();
        const auto [ptr, ec] = std::from_chars(first, last, p.number);
        if (ec != std::errc() || ptr == first) return false;
        // from_chars also takes "inf", "nan" and exponents, which XPath number literals do not have
        for (const char* c = first; c != ptr; ++c)
            if (!((*c >= '0' && *c <= '9') || *c == '.' || *c == '-')) return false;
        p.literal.assign(first, ptr);
        p.numeric = true;
        pos_ += static_cast<std::size_t>(ptr - first);
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool parsePredicates(Reader& in, std::vector<PathPredicate>& out) {
    do {
        in.skipSpace();
        PathPredicate p;
        if (!in.consume('@') || !in.name(p.attribute)) return false;
        in.skipSpace();
        if (!in.consume('=')) return false;
        in.skipSpace();
        if (!in.literal(p)) return false;
        in.skipSpace();
        out.push_back(std::move(p));
    } while (in.keywordAnd());
    return in.consume(']');
}

} // namespace

bool parseStepPath(std::string_view text, std::vector<PathStep>& steps) {
    steps.clear();
    if (text.empty()) return true;
    Reader in(text);
    do {
        PathStep step;
        if (in.consume('*'))
            step.name = "*";
        else if (!in.name(step.name))
            return false;
        if (in.consume('[') && !parsePredicates(in, step.predicates)) return false;
        steps.push_back(std::move(step));
    } while (in.consume('/'));
    return in.done();
}

std::shared_ptr<const CompiledPath> compilePath(std::string_view text) {
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
    };
    // Paths carry formatted values (tooth lists, indices), so the cache is bounded: when it is full it starts
    // over. Entries in use elsewhere stay alive through their shared pointers.
    constexpr std::size_t capacity = 4096;
    static std::shared_mutex mutex;
    static std::unordered_map<std::string, std::shared_ptr<const CompiledPath>, Hash, std::equal_to<>> cache;

    {
        std::shared_lock lock(mutex);
        if (const auto it = cache.find(text); it != cache.end()) return it->second;
    }

    auto compiled = std::make_shared<CompiledPath>();
    if (!parseStepPath(text, compiled->steps)) {
        compiled->steps.clear();
        try {
            compiled->xpath = std::make_shared<pugi::xpath_query>(std::string(text).c_str());
        } catch (const pugi::xpath_exception&) {
            compiled->xpath.reset();
        }
        if (compiled->xpath && !*compiled->xpath) compiled->xpath.reset();
        compiled->valid = compiled->xpath != nullptr;
        if (!compiled->valid) return compiled; // not cached: a bad path is a caller's error, not a hot path
    }

    std::unique_lock lock(mutex);
    if (cache.size() >= capacity) cache.clear();
    return cache.emplace(std::string(text), std::move(compiled)).first->second;
}

} // namespace kest::host
