// hhdump CLIENT FILE: prints what the program reads from a hand-history file
// of CLIENT, so that a user or a developer can see why a clock or a
// calculator shows what it shows.
#include <cstdio>
#include <map>
#include <string>

#include "hhdump.h"

namespace kova::hhdump {
namespace {

std::map<std::string, TDumpFn>& Clients() {
  static std::map<std::string, TDumpFn> clients;
  return clients;
}

}  // namespace

THhdumpClient::THhdumpClient(const char* client, TDumpFn dump) { Clients()[client] = dump; }

}  // namespace kova::hhdump

int main(int argc, char** argv) {
  const auto& clients = kova::hhdump::Clients();
  if (argc == 3) {
    auto it = clients.find(argv[1]);
    if (it != clients.end()) return it->second(argv[2]);
  }
  std::fprintf(stderr, "usage: hhdump CLIENT FILE   (CLIENT:");
  for (const auto& [name, dump] : clients) std::fprintf(stderr, " %s", name.c_str());
  std::fprintf(stderr, ")\n");
  return 2;
}
