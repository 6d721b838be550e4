#include <kest/gear/root_finding.h>

#include <kest/gear/unset_value.h>

#include "host/report.h"

#include <cmath>

namespace kest {

RootSecantMethod::Functor::~Functor() = default;

RootSecantMethod::RootSecantMethod(double tolerance, unsigned int maxIterations) noexcept
    : tolerance_(tolerance)
    , maxIterations_(maxIterations) {}

double RootSecantMethod::solve(const Functor& f, double x0, double x1) {
    converged_ = false;
    iterations_ = 0;
    try {
        const double f0 = f(x0);
        const double f1 = f(x1);
        // The point nearer the root is the latest one, so that the first step starts from the better value.
        double previous = x0, fPrevious = f0, current = x1, fCurrent = f1;
        if (std::fabs(f0) < std::fabs(f1)) {
            previous = x1;
            fPrevious = f1;
            current = x0;
            fCurrent = f0;
        }
        while (iterations_ < maxIterations_) {
            // A flat secant has no intersection with the axis.
            if (fCurrent == fPrevious) return gear::unsetValue;
            ++iterations_;
            const double dx = (previous - current) * fCurrent / (fCurrent - fPrevious);
            previous = current;
            fPrevious = fCurrent;
            current += dx;
            fCurrent = f(current);
            if (std::fabs(dx) < tolerance_ || fCurrent == 0.0) {
                converged_ = true;
                return current;
            }
        }
        return current;
    } catch (const char* message) {
        GR_ERROR_LOG("RootSecantMethod has error: %s", message ? message : "");
        return gear::unsetValue;
    }
}

} // namespace kest
