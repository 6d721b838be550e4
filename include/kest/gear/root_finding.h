#pragma once

// One-dimensional root finding for the gear calculations.

#include <kest/gear/host/export.h>

namespace kest {

// Secant iteration x[n+1] = x[n] - f(x[n]) (x[n] - x[n-1]) / (f(x[n]) - f(x[n-1])), without a bracket: it
// converges superlinearly (order 1.618) near a simple root and is the method for the smooth, monotone
// dimension-versus-coefficient curves of a gear. The tolerance and the iteration budget are explicit; the
// iterations of the last solve can be read back.
class GEARRECORDS_API RootSecantMethod {
public:
    // The function whose root is sought. A failure is thrown as a message text (const char*).
    class GEARRECORDS_API Functor {
    public:
        Functor() = default;
        Functor(const Functor&) = default;
        Functor& operator=(const Functor&) = default;
        virtual ~Functor();
        virtual double operator()(double x) const = 0;
    };

    // Stops when a step is shorter than `tolerance` or f is exactly 0, or after `maxIterations` steps.
    RootSecantMethod(double tolerance, unsigned int maxIterations) noexcept;

    // Starts from x0 and x1; the one with the smaller |f| (x1 on a tie) is taken as the latest point.
    // returns the last point, converged or not (see isConverged); the unset value when two successive values
    // of f are equal (a flat secant) or when f throws a text, which is written to the error log.
    double solve(const Functor& f, double x0, double x1);

    bool isConverged() const noexcept { return converged_; }
    // Secant steps taken by the last solve (0 when it failed at the start).
    unsigned int getIterations() const noexcept { return iterations_; }
    double getTolerance() const noexcept { return tolerance_; }
    unsigned int getMaxIterations() const noexcept { return maxIterations_; }

private:
    double tolerance_;
    unsigned int maxIterations_;
    bool converged_ = false;
    unsigned int iterations_ = 0;
};

} // namespace kest
