#pragma once
// A client's subcommand of hhdump: one file per client in this folder,
// registering itself at namespace scope.
#include <string>

namespace kova::hhdump {

// Reads FILE as the client's adapter does and prints what it finds on
// standard output; returns the exit code (1, with a message on standard
// error, for a file it cannot read).
using TDumpFn = int (*)(const std::string& file);

struct THhdumpClient {
  THhdumpClient(const char* client, TDumpFn dump);
};

}  // namespace kova::hhdump
