// The engine's diagnostics: lines for the main window's log memo. The
// engine never shows a message box while it scans; the main window
// connects EngineServices.LogSink to its memo. Without a sink, lines go to
// standard error.
#pragma once

#include <string>

namespace kova::tables {

void EngineLog(const std::string& line);

// printf-style, for the engine's fixed format strings.
void EngineLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kova::tables
