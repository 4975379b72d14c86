#pragma once
// Data files for the main window's tests, written byte by byte from the
// file layouts (not with the program's writers), so that a test that reads
// them back through the program also checks the readers and writers.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kova::test {

using Bytes = std::vector<uint8_t>;

inline void PutI32(Bytes& b, int32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}
inline void PokeI32(Bytes& b, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}
// A length-byte string of capacity n (n + 1 bytes).
inline void PutShort(Bytes& b, const std::string& s, size_t n) {
  b.push_back(static_cast<uint8_t>(s.size()));
  for (size_t i = 0; i < n; ++i) b.push_back(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
}
inline void PokeShort(Bytes& b, size_t at, const std::string& s) {
  b[at] = static_cast<uint8_t>(s.size());
  std::memcpy(b.data() + at + 1, s.data(), s.size());
}
// int32 count, then UTF-16 code units (ASCII here).
inline void PutWide(Bytes& b, const std::string& s) {
  PutI32(b, static_cast<int32_t>(s.size()));
  for (char c : s) {
    b.push_back(static_cast<uint8_t>(c));
    b.push_back(0);
  }
}
// Title expression (246 bytes): text, three operands, two operators.
inline void PutTitle(Bytes& b, const std::string& operand1) {
  PutShort(b, operand1, 100);
  PutShort(b, operand1, 40);
  PutShort(b, "", 40);
  PutShort(b, "", 40);
  PutShort(b, "", 10);
  PutShort(b, "", 10);
}
inline void PutSize(Bytes& b, const std::string& name, int32_t w, int32_t h) {
  PutShort(b, name, 40);
  b.insert(b.end(), 3, 0);
  PutI32(b, w);
  PutI32(b, h);
}

struct Slot {
  int32_t left, top, width, height;
};

struct TestGroupData {
  std::string name;
  std::string title;        // Operand1
  std::string classPattern;
  std::vector<Slot> slots;
  int32_t roomIndex = 0;
  std::string roomName = "Test Room";
};

struct TestConfigData {
  std::string name;
  std::vector<TestGroupData> groups;
};

// "PlaceConfig.cnfg": 32-byte header with the marker and the selected
// index, the config count, then each config with its TOI block.
inline Bytes PlaceConfigFile(const std::vector<TestConfigData>& configs, int32_t selected) {
  Bytes b;
  PutShort(b, "KOVAv2.05", 9);
  b.insert(b.end(), 14, 0);
  PutI32(b, selected);
  b.insert(b.end(), 4, 0);
  PutI32(b, static_cast<int32_t>(configs.size()));
  for (const TestConfigData& c : configs) {
    PutWide(b, c.name);
    b.insert(b.end(), 20, 0);  // TOI block
    PutI32(b, static_cast<int32_t>(c.groups.size()));
    for (const TestGroupData& g : c.groups) {
      PutI32(b, g.roomIndex);
      PutShort(b, g.roomName, 40);
      PutWide(b, g.name);
      PutTitle(b, g.title);
      PutWide(b, g.classPattern);
      const uint8_t options[10] = {1, 1, 0, 1, 1, 0, 0, 0, 0, 0};  // place, sort, size, activate
      b.insert(b.end(), options, options + 10);
      PutSize(b, "", 0, 0);
      PutSize(b, "", 0, 0);
      PutI32(b, static_cast<int32_t>(g.slots.size()));
      for (const Slot& s : g.slots) {
        for (int k = 0; k < 2; ++k) {  // normal and activate rectangle
          PutI32(b, s.left);
          PutI32(b, s.top);
          PutI32(b, s.width);
          PutI32(b, s.height);
        }
      }
    }
  }
  return b;
}

// One "PokerRooms.kov" record of 10968 bytes: a room of no special type
// for the window class.
inline Bytes PokerRoomRecord(const std::string& name, const std::string& windowClass) {
  Bytes b(10968, 0);
  PokeShort(b, 0, "KOVAv3.08");
  b[11] = 1;                 // listed
  PokeI32(b, 16, 0);         // room type
  PokeShort(b, 20, name);
  PokeShort(b, 61, windowClass);
  PokeI32(b, 3108, 1000);    // reference client size and minimum size
  PokeI32(b, 3112, 1000);
  PokeI32(b, 3116, 500);
  PokeI32(b, 3120, 500);
  PokeI32(b, 3124, 630);     // fold point
  PokeI32(b, 3128, 905);
  PokeI32(b, 3132, 315);
  PokeI32(b, 3136, 452);
  b[3140] = 200;             // fold colour
  b[3141] = 24;
  b[3142] = 24;
  PokeI32(b, 3148, 30);      // tolerance
  return b;
}

// "user.ini": the one 1212-byte record.
inline Bytes UserIniFile(uint8_t showHUD, uint8_t sound, uint8_t frame) {
  Bytes b(1212, 0);
  b[0] = showHUD;
  b[3] = sound;
  b[4] = frame;
  b[8 + 60 * 0 + 52] = 17;   // hotkey 1: Ctrl+F1
  b[8 + 60 * 0 + 56] = 0x70;
  b[1209] = 1;               // send to the active table
  return b;
}

inline void WriteFile(const std::string& path, const Bytes& b) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}
inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary);
  f << text;
}
// The data files of a config that runs on the simulated client: config
// "Main" (selected) of one group whose windows of `tableClass` titled "Sim
// Table ..." take two slots side by side, the room of that class, and the
// main form placed away from the slots, so that no table covers it.
inline void WriteSimTablesConfig(const std::string& dir, const std::string& tableClass) {
  WriteFile(dir + "\\PlaceConfig.cnfg",
            PlaceConfigFile({TestConfigData{"Main", {TestGroupData{"Tables", "Sim Table", tableClass,
                                                                    {{20, 30, 384, 262}, {430, 30, 384, 262}}}}}},
                            0));
  WriteFile(dir + "\\PokerRooms.kov", PokerRoomRecord("Test Room", tableClass));
  WriteText(dir + "\\startup.ini", "[Common]\r\nLeft=1000\r\nTop=420\r\n");
}
inline Bytes ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}
inline bool DataFileExists(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return f.good();
}

}  // namespace kova::test
