#include <kest/gear/root_finding.h>
#include <kest/gear/unset_value.h>

#include "support/diagnostics_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

using kest::RootSecantMethod;
using kest::host::DiagnosticChannel;

namespace {

struct Function : RootSecantMethod::Functor {
    explicit Function(std::function<double(double)> fn)
        : f(std::move(fn)) {}
    double operator()(double x) const override { return f(x); }
    std::function<double(double)> f;
};

// Roots within the stated tolerance and a ceiling on the secant steps (the order-1.618 convergence needs a
// handful from these starts). The last two rows: a budget too small for a triple root, where the secant
// converges only linearly, and a root at the second start value, taken after one step of length 0.
TEST(root_secant_method, RootsWithinToleranceAndIterationCeiling) {
    const struct Row {
        const char* name;
        std::function<double(double)> f;
        double x0, x1, root, tolerance;
        unsigned int budget, ceiling;
        bool converged;
    } rows[]{
        {"x^2 - 2", [](double x) { return x * x - 2; }, 1.0, 2.0, std::sqrt(2.0), 1e-12, 300, 7, true},
        {"cos x - x (Dottie number)", [](double x) { return std::cos(x) - x; }, 0.0, 1.0, 0.7390851332151607,
         1e-12, 300, 6, true},
        {"e^x - 5", [](double x) { return std::exp(x) - 5; }, 0.0, 3.0, std::log(5.0), 1e-10, 300, 11, true},
        {"x^3, budget 5", [](double x) { return x * x * x; }, 1.0, 0.5, 0.0, 1e-8, 5, 5, false},
        {"root at x1", [](double x) { return x - 2; }, 0.0, 2.0, 2.0, 1e-8, 300, 1, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RootSecantMethod solver(row.tolerance, row.budget);
        const double root = solver.solve(Function(row.f), row.x0, row.x1);
        EXPECT_EQ(solver.isConverged(), row.converged);
        EXPECT_LE(solver.getIterations(), row.ceiling);
        if (row.converged) {
            EXPECT_NEAR(root, row.root, row.tolerance);
        }
    }
}

TEST(root_secant_method, FlatSecantAndThrownTextGiveUnset) {
    kest::test::DiagnosticsCapture capture;
    RootSecantMethod solver(1e-8, 300);
    EXPECT_EQ(solver.solve(Function([](double) { return 1.0; }), 0.0, 1.0), kest::gear::unsetValue);
    EXPECT_EQ(solver.getIterations(), 0u);
    EXPECT_FALSE(solver.isConverged());
    EXPECT_TRUE(capture.messages(DiagnosticChannel::ErrorLog).empty());

    const Function throwing([](double x) -> double {
        if (x > 1.5) throw "no value";
        return x - 2;
    });
    EXPECT_EQ(solver.solve(throwing, 0.0, 1.0), kest::gear::unsetValue);
    EXPECT_EQ(capture.messages(DiagnosticChannel::ErrorLog),
              std::vector<std::string>{"RootSecantMethod has error: no value"});
}

} // namespace
