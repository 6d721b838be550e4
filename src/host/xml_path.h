#pragma once

// Paths of the records: chains of child steps with attribute predicates, parsed once and cached by their
// text.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
class xpath_query;
}

namespace kest::host {

struct PathPredicate {
    std::string attribute;
    std::string literal; // the value as written, without quotes
    bool numeric = false;
    double number = 0.0; // the value of a numeric literal
};

struct PathStep {
    std::string name; // "*" matches every element
    std::vector<PathPredicate> predicates;
    bool any() const noexcept { return name == "*"; }
};

// A parsed path. When the text is outside the step grammar, `steps` is empty and `xpath` holds the compiled
// query (and `valid` is false when even XPath rejects the text). An empty text has no steps and no query: the
// node itself.
struct CompiledPath {
    std::vector<PathStep> steps;
    std::shared_ptr<pugi::xpath_query> xpath;
    bool valid = true; // false when neither grammar accepts the text
    bool isSelf() const noexcept { return valid && steps.empty() && !xpath; }
};

// Parses the step grammar; returns false for text outside it.
bool parseStepPath(std::string_view text, std::vector<PathStep>& steps);

// returns the cached parse of `text`, parsing it on first use. Safe to call from several threads.
std::shared_ptr<const CompiledPath> compilePath(std::string_view text);

} // namespace kest::host
