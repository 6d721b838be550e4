#pragma once

// Replaces the diagnostics sink for the lifetime of a test and keeps what was reported.

#include <kest/gear/host/diagnostics.h>

#include <string>
#include <vector>

namespace kest::test {

struct CapturedDiagnostic {
    host::DiagnosticChannel channel;
    int level;
    std::string message;
};

class DiagnosticsCapture {
public:
    explicit DiagnosticsCapture(int traceLevel = 4)
        : previousLevel_(host::getTraceMasterLevel()) {
        previousSink_ = host::setDiagnosticSink([this](const host::Diagnostic& d) {
            reports.push_back({d.channel, d.level, std::string(d.message)});
        });
        host::setTraceMasterLevel(traceLevel);
    }
    ~DiagnosticsCapture() {
        host::setDiagnosticSink(std::move(previousSink_));
        host::setTraceMasterLevel(previousLevel_);
    }
    DiagnosticsCapture(const DiagnosticsCapture&) = delete;
    DiagnosticsCapture& operator=(const DiagnosticsCapture&) = delete;

    // returns the messages of one channel in the order they were reported
    std::vector<std::string> messages(host::DiagnosticChannel channel) const {
        std::vector<std::string> out;
        for (const auto& r : reports)
            if (r.channel == channel) out.push_back(r.message);
        return out;
    }

    std::vector<CapturedDiagnostic> reports;

private:
    host::DiagnosticSink previousSink_;
    int previousLevel_;
};

} // namespace kest::test
