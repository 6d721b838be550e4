#pragma once

#include <kest/gear/host/export.h>

#include <functional>
#include <string_view>

namespace kest::host {

enum class DiagnosticChannel {
    ErrorLog,   // failures the library handled: refused calculations, sections that failed
    ErrorTrace, // low-level failures in file reading, encoding and path handling
    Trace,      // informational lines, by level: 1 warnings, 2, 3 overwrites and registrations, 4 detail
};

// One report. `file` is the reporting source file relative to the source tree, `message` the formatted text.
struct Diagnostic {
    DiagnosticChannel channel;
    const char* file;
    int line;
    int level;            // trace level; 0 for the error log and error trace
    const char* category; // "default" for trace lines; "" otherwise
    std::string_view message;
};

using DiagnosticSink = std::function<void(const Diagnostic&)>;

// Replaces where reports go and returns the sink that was in place. An empty sink restores the default, which
// writes every report that reaches it to standard error. The sink is called under a lock, one report at a
// time.
GEARRECORDS_API DiagnosticSink setDiagnosticSink(DiagnosticSink sink);

// Trace lines above the master level are neither formatted nor reported. The level starts at the value of the
// environment variable GEARRECORDS_TRACE_LEVEL, or 0 when that is not set or not a number.
GEARRECORDS_API void setTraceMasterLevel(int level);
GEARRECORDS_API int getTraceMasterLevel();
GEARRECORDS_API bool MTrace_TestMasterLevel(int level);

// Error-trace contexts of the calling thread. Reports made inside a context are held back; ClearContext drops
// the ones held by the innermost context (the failure was handled), EndContext passes the rest on to the
// enclosing context or, at the outermost level, to the sink.
GEARRECORDS_API void MErrTrace_BeginContext();
GEARRECORDS_API void MErrTrace_ClearContext();
GEARRECORDS_API void MErrTrace_EndContext();

// returns a pointer to a copy of `text` that stays valid until the process ends; equal texts share one copy.
// The library throws such pointers as its exception objects.
GEARRECORDS_API const char* make_pp(std::string_view text);

} // namespace kest::host
