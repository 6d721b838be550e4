#include "host/report.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace kest::host {
namespace {

int levelFromEnvironment() {
    const char* text = std::getenv("GEARRECORDS_TRACE_LEVEL");
    if (!text || !*text) return 0;
    char* end = nullptr;
    const long level = std::strtol(text, &end, 10);
    return (*end == '\0' && level >= 0 && level <= 100) ? static_cast<int>(level) : 0;
}

std::atomic<int>& masterLevel() {
    static std::atomic<int> level{levelFromEnvironment()};
    return level;
}

const char* channelName(DiagnosticChannel channel) {
    switch (channel) {
    case DiagnosticChannel::ErrorLog:
        return "error";
    case DiagnosticChannel::ErrorTrace:
        return "error trace";
    case DiagnosticChannel::Trace:
        return "trace";
    }
    return "?";
}

void writeToStandardError(const Diagnostic& d) {
    if (d.channel == DiagnosticChannel::Trace)
        std::fprintf(stderr, "gearrecords %s %d [%s] %s:%d: %.*s\n", channelName(d.channel), d.level,
                     d.category, d.file, d.line, static_cast<int>(d.message.size()), d.message.data());
    else
        std::fprintf(stderr, "gearrecords %s %s:%d: %.*s\n", channelName(d.channel), d.file, d.line,
                     static_cast<int>(d.message.size()), d.message.data());
}

struct SinkState {
    std::mutex mutex;
    DiagnosticSink sink;
};

// Never destroyed: the library reports from static destructors while it is unloaded.
SinkState& sinkState() {
    static SinkState* state = new SinkState;
    return *state;
}

void deliver(const Diagnostic& d) {
    SinkState& state = sinkState();
    std::lock_guard lock(state.mutex);
    if (state.sink)
        state.sink(d);
    else
        writeToStandardError(d);
}

// An error-trace report held back by a context.
struct HeldReport {
    const char* file;
    int line;
    std::string message;
};

thread_local std::vector<std::vector<HeldReport>> errorTraceContexts;

__attribute__((format(printf, 1, 0))) std::string formatMessage(const char* format, va_list args) {
    char buffer[512];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(buffer, sizeof buffer, format, copy);
    va_end(copy);
    if (needed < 0) return format;
    if (static_cast<std::size_t>(needed) < sizeof buffer)
        return std::string(buffer, static_cast<std::size_t>(needed));
    std::string text(static_cast<std::size_t>(needed), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    return text;
}

} // namespace

DiagnosticSink setDiagnosticSink(DiagnosticSink sink) {
    SinkState& state = sinkState();
    std::lock_guard lock(state.mutex);
    return std::exchange(state.sink, std::move(sink));
}

void setTraceMasterLevel(int level) {
    masterLevel().store(level, std::memory_order_relaxed);
}
int getTraceMasterLevel() {
    return masterLevel().load(std::memory_order_relaxed);
}
bool MTrace_TestMasterLevel(int level) {
    return level <= getTraceMasterLevel();
}

void MErrTrace_BeginContext() {
    errorTraceContexts.emplace_back();
}

void MErrTrace_ClearContext() {
    if (!errorTraceContexts.empty()) errorTraceContexts.back().clear();
}

void MErrTrace_EndContext() {
    if (errorTraceContexts.empty()) return;
    std::vector<HeldReport> held = std::move(errorTraceContexts.back());
    errorTraceContexts.pop_back();
    for (HeldReport& r : held) {
        if (!errorTraceContexts.empty())
            errorTraceContexts.back().push_back(std::move(r));
        else
            deliver({DiagnosticChannel::ErrorTrace, r.file, r.line, 0, "", r.message});
    }
}

const char* make_pp(std::string_view text) {
    // Node-based storage: the address of a stored text never changes. Never destroyed, like the texts.
    struct Store {
        std::mutex mutex;
        std::unordered_set<std::string> texts;
    };
    static Store* store = new Store;
    std::lock_guard lock(store->mutex);
    return store->texts.emplace(text).first->c_str();
}

void reportErrorLog(const char* file, int line, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string message = formatMessage(format, args);
    va_end(args);
    deliver({DiagnosticChannel::ErrorLog, file, line, 0, "", message});
}

void reportErrorTrace(const char* file, int line, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = formatMessage(format, args);
    va_end(args);
    if (!errorTraceContexts.empty())
        errorTraceContexts.back().push_back({file, line, std::move(message)});
    else
        deliver({DiagnosticChannel::ErrorTrace, file, line, 0, "", message});
}

void reportTrace(const char* file, int line, int level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string message = formatMessage(format, args);
    va_end(args);
    deliver({DiagnosticChannel::Trace, file, line, level, "default", message});
}

} // namespace kest::host
