#pragma once

// The library's side of the diagnostics: every report names its source file and line.

#include <kest/gear/host/diagnostics.h>

namespace kest::host {

void reportErrorLog(const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void reportErrorTrace(const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Formats and reports a trace line without testing the master level; use GR_TRACE.
void reportTrace(const char* file, int line, int level, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

} // namespace kest::host

#define GR_ERROR_LOG(...) ::kest::host::reportErrorLog(__FILE__, __LINE__, __VA_ARGS__)
#define GR_ERROR_TRACE(...) ::kest::host::reportErrorTrace(__FILE__, __LINE__, __VA_ARGS__)
// Nothing is formatted unless the master level admits `level`.
#define GR_TRACE(level, ...)                                                                                 \
    do {                                                                                                     \
        if (::kest::host::MTrace_TestMasterLevel(level))                                                     \
            ::kest::host::reportTrace(__FILE__, __LINE__, level, __VA_ARGS__);                               \
    } while (false)
