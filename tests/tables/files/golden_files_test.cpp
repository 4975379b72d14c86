// Hand-made sample files of every binary format. Each is written here byte
// by byte from the documented layout (never by the writers under test),
// must equal its checked-in copy under fixtures/ (the fuzz targets start
// from those files), is read by our reader and checked field by field, and
// is written back by our writer to the same bytes.
//
// After a deliberate change of a sample, run the tests once with
// KOVA_WRITE_FIXTURES=1 to write the checked-in copies anew.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "common/testdata.h"
#include "tables/files/calcfiles.h"
#include "tables/files/placeconfig_file.h"
#include "tables/files/pokerrooms_file.h"
#include "tables/files/userini.h"
#include "tables_testutil.h"

namespace kova::tables {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::MessageCapture;
using test::Pattern;
using test::PokeF64;
using test::PokeI32;
using test::PokeShort;
using test::ReadBytes;
using test::SameBytes;
using test::ScratchFolder;
using test::WriteBytes;

void ExpectCheckedIn(const std::string& relative, const std::vector<uint8_t>& bytes) {
    const fs::path file = kova::test::SourcePath("tests/tables/files/fixtures/" + relative);
    if (std::getenv("KOVA_WRITE_FIXTURES")) {
        fs::create_directories(file.parent_path());
        WriteBytes(file, bytes);
    }
    EXPECT_TRUE(SameBytes(ReadBytes(file), bytes))
        << file.string() << " is not the sample built here (KOVA_WRITE_FIXTURES=1 writes it anew)";
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// ---- "PlaceConfig.cnfg" ----------------------------------------------------------
// Header: 0 length byte, 1-9 marker, 10-23 kept, 24-27 selected index, 28 zero,
// 29-31 kept. Then int32 config count and the configs: Name (int32 count and
// UTF-16LE), the 20-byte TOI block (current marker only), int32 group count,
// the groups.

struct SlotSample {
    int32_t v[8];  // Left, Top, Width, Height, ActLeft, ActTop, ActWidth, ActHeight
};

struct GroupSample {
    int32_t roomIndex;
    const char* roomName;
    const char16_t* name;
    const char* title[6];  // Text, Operand1..3, Operator1..2
    const char16_t* classPattern;
    uint8_t options[10];   // AutoPlace .. TOIStyle
    const char* size1;
    int32_t width1, height1;
    const char* size2;
    int32_t width2, height2;
    std::vector<SlotSample> slots;
};

struct ConfigSample {
    const char16_t* name;
    TTOIConfig toi;
    std::vector<GroupSample> groups;
};

const std::vector<ConfigSample>& SampleConfigs() {
    static const std::vector<ConfigSample> configs = {
        {u"Cash tables",
         TTOIConfig{2, 1, 2, 1, 0, 0x5A, 4, 100},
         {
             {0, "PokerStars", u"Hold'em",
              {"Table and not Tournament", "Table", "Tournament", "", "and not", ""},
              u"PokerStarsTableFrameClass", {1, 1, 0, 1, 1, 1, 0, 1, 0, 0},
              "Normal", 792, 546, "Small", 483, 333,
              {{{0, 0, 792, 546, 0, 0, 792, 546}}, {{792, 0, 792, 546, 800, 10, 640, 480}}}},
             {3, "iPoker", u"Ring games",
              {"Ring or Cash", "Ring", "Cash", "", "or", ""},
              u"*", {1, 0, 1, 0, 0, 0, 1, 0, 1, 1},
              "Default", 800, 600, "", 0, 0,
              {{{1584, 0, 640, 480, -5, -5, 650, 490}}}},
         }},
        {u"Sit & Go \u20ac",
         TTOIConfig{1, 0, 0, 0, 1, 0, 8, 50},
         {
             {1, "Ongame", u"SNG",
              {"Tournament and Table or Lobby", "Tournament", "Table", "Lobby", "and", "or"},
              u"OngameTableWindow", {1, 1, 1, 1, 0, 0, 0, 0, 0, 1},
              "Big", 1024, 768, "Tiny", 400, 300,
              {{{0, 0, 400, 300, 0, 0, 1024, 768}},
               {{400, 0, 400, 300, 0, 0, 1024, 768}},
               {{800, 0, 400, 300, 0, 0, 1024, 768}}}},
         }},
    };
    return configs;
}

void PutGroup(Bytes& b, const GroupSample& g) {
    b.I32(g.roomIndex).Short(g.roomName, 40, 0x11).Wide(g.name);
    b.Short(g.title[0], 100, 0x22).Short(g.title[1], 40).Short(g.title[2], 40).Short(g.title[3], 40);
    b.Short(g.title[4], 10, 0x33).Short(g.title[5], 10);
    b.Wide(g.classPattern);
    for (uint8_t v : g.options) b.U8(v);
    b.Short(g.size1, 40, 0x44).U8(1).U8(2).U8(3).I32(g.width1).I32(g.height1);
    b.Short(g.size2, 40).Zeros(3).I32(g.width2).I32(g.height2);
    b.I32(static_cast<int32_t>(g.slots.size()));
    for (const SlotSample& s : g.slots) {
        for (int32_t v : s.v) b.I32(v);
    }
}

void PutHeader(Bytes& b, const std::string& marker, int32_t selected) {
    b.Short(marker, 9);
    for (uint8_t i = 0; i < 14; ++i) b.U8(static_cast<uint8_t>(0xA0 + i));  // 10-23 kept
    b.I32(selected).U8(0).U8(0xC1).U8(0xC2).U8(0xC3);
}

std::vector<uint8_t> SamplePlaceConfig() {
    Bytes b;
    PutHeader(b, "KOVAv2.05", 1);
    b.I32(2);
    for (const ConfigSample& c : SampleConfigs()) {
        b.Wide(c.name);
        b.I32(c.toi.StackSlot).I32(c.toi.NewTablesTo);
        b.U8(c.toi.WhenAutoActivated).U8(c.toi.AfterEnteringPot).U8(c.toi.SendToBottomAfterFold).U8(c.toi.Padding);
        b.I32(c.toi.KeepInGridCount).I32(c.toi.GridMinBB);
        b.I32(static_cast<int32_t>(c.groups.size()));
        for (const GroupSample& g : c.groups) PutGroup(b, g);
    }
    return b.Get();
}

// An older file (another marker: no TOI blocks) of the first config, as it
// is on disk and as the writer writes it (current marker, zero TOI block).
std::vector<uint8_t> OlderPlaceConfig(bool asWritten) {
    const ConfigSample& c = SampleConfigs()[0];
    Bytes b;
    PutHeader(b, asWritten ? "KOVAv2.05" : "KOVAv2.01", 0);
    b.I32(1).Wide(c.name);
    if (asWritten) b.Zeros(20);
    b.I32(static_cast<int32_t>(c.groups.size()));
    for (const GroupSample& g : c.groups) PutGroup(b, g);
    return b.Get();
}

void ExpectGroup(const TGroupRec& g, const GroupSample& s, const std::string& name) {
    SCOPED_TRACE(name);
    EXPECT_EQ(g.RoomIndex, s.roomIndex);
    EXPECT_EQ(g.RoomName.Str(), s.roomName);
    EXPECT_EQ(g.RoomName.Bytes[40], 0x11);  // past the name: kept as read
    EXPECT_EQ(g.Name, name);
    EXPECT_EQ(g.Title.Text.Str(), s.title[0]);
    EXPECT_EQ(g.Title.Operand1.Str(), s.title[1]);
    EXPECT_EQ(g.Title.Operand2.Str(), s.title[2]);
    EXPECT_EQ(g.Title.Operand3.Str(), s.title[3]);
    EXPECT_EQ(g.Title.Operator1.Str(), s.title[4]);
    EXPECT_EQ(g.Title.Operator2.Str(), s.title[5]);
    const uint8_t options[10] = {g.AutoPlace,    g.AutoSort,     g.AutoShift,     g.AutoSize,   g.AutoActivate,
                                 g.AllowChange, g.ActivateSize, g.MouseActivate, g.SharedSlot, g.TOIStyle};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(options[i], s.options[i]) << "option byte " << i;
    EXPECT_EQ(g.Size1.Name.Str(), s.size1);
    EXPECT_EQ(g.Size1.Padding, (std::array<uint8_t, 3>{1, 2, 3}));
    EXPECT_EQ(g.Size1.Width, s.width1);
    EXPECT_EQ(g.Size1.Height, s.height1);
    EXPECT_EQ(g.Size2.Name.Str(), s.size2);
    EXPECT_EQ(g.Size2.Width, s.width2);
    EXPECT_EQ(g.Size2.Height, s.height2);
    ASSERT_EQ(g.Slots.size(), s.slots.size());
    for (std::size_t i = 0; i < s.slots.size(); ++i) {
        const TSlotRec& r = g.Slots[i];
        const int32_t* v = s.slots[i].v;
        EXPECT_EQ(r, (TSlotRec{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]})) << "slot " << i;
    }
}

TEST(GoldenFiles, PlaceConfigWithTwoConfigs) {
    const auto bytes = SamplePlaceConfig();
    ExpectCheckedIn("placeconfig/PlaceConfig.cnfg", bytes);
    ScratchFolder dir;
    const auto file = dir / PlaceConfigFileName;
    WriteBytes(file, bytes);

    TConfigFileHeader header;
    std::vector<TPlaceConfig> configs;
    ASSERT_EQ(LoadPlaceConfig(file, header, configs), TLoadStatus::Loaded);
    EXPECT_EQ(header.Marker.Str(), "KOVAv2.05");
    EXPECT_EQ(header.Kept10[0], 0xA0);
    EXPECT_EQ(header.Kept10[13], 0xAD);
    EXPECT_EQ(header.SelectedIndex, 1);
    EXPECT_EQ(header.Kept29, (std::array<uint8_t, 3>{0xC1, 0xC2, 0xC3}));
    ASSERT_EQ(configs.size(), 2u);
    EXPECT_EQ(configs[0].Name, "Cash tables");
    EXPECT_EQ(configs[1].Name, "Sit & Go \x80");  // Windows-1252
    const std::vector<std::vector<std::string>> groupNames = {{"Hold'em", "Ring games"}, {"SNG"}};
    for (std::size_t c = 0; c < 2; ++c) {
        const ConfigSample& s = SampleConfigs()[c];
        EXPECT_EQ(configs[c].TOI, s.toi) << "config " << c;
        ASSERT_EQ(configs[c].Groups.size(), s.groups.size());
        for (std::size_t g = 0; g < s.groups.size(); ++g) ExpectGroup(configs[c].Groups[g], s.groups[g], groupNames[c][g]);
    }

    ASSERT_TRUE(WritePlaceConfig(file, header, header.SelectedIndex, configs));
    EXPECT_TRUE(SameBytes(ReadBytes(file), bytes));
}

TEST(GoldenFiles, OlderPlaceConfigIsWrittenInTheCurrentLayout) {
    const auto bytes = OlderPlaceConfig(false);
    ExpectCheckedIn("placeconfig/PlaceConfig-older.cnfg", bytes);
    ScratchFolder dir;
    const auto file = dir / PlaceConfigFileName;
    WriteBytes(file, bytes);

    TConfigFileHeader header;
    std::vector<TPlaceConfig> configs;
    ASSERT_EQ(LoadPlaceConfig(file, header, configs), TLoadStatus::Loaded);
    ASSERT_EQ(configs.size(), 1u);
    EXPECT_EQ(configs[0].Name, "Cash tables");
    EXPECT_EQ(configs[0].TOI, TTOIConfig{});
    ASSERT_EQ(configs[0].Groups.size(), 2u);
    ExpectGroup(configs[0].Groups[0], SampleConfigs()[0].groups[0], "Hold'em");
    ExpectGroup(configs[0].Groups[1], SampleConfigs()[0].groups[1], "Ring games");

    ASSERT_TRUE(WritePlaceConfig(file, header, header.SelectedIndex, configs));
    EXPECT_TRUE(SameBytes(ReadBytes(file), OlderPlaceConfig(true)));
}

// ---- "PokerRooms.kov" ---------------------------------------------------------------
// Room record (10968 bytes): 0-10 marker String[10]; 11 listed; 16 RoomType;
// 20 Name String[40]; 61 WindowClass String[40]; 102 + 246 t title t
// (Text String[100] 0, Operand1..3 String[40] at 101, 142, 183, Operator1..2
// String[10] at 224, 235); 2564 + 52 s size s (Name String[40] 0, Width 44,
// Height 48); 3084-3086 fold-button activation, flashed-seat activation,
// Proportional; 3108 TScaleRef; 3124 fold point; 3140 colour; 3143 colour 2;
// 3148 Tolerance; 3152 Tolerance2; 3156 TotalTimeBank; 3160-3163 common
// bring-to-top, flash, sound, FrameOn; 3164 + 8 k alert step k (Delay, four
// bytes); 3196 HotKeyCount; 3200 + 224 (n - 1) hotkey n; 7688 + 328 e event
// macro e. Everything else is kept.

struct ClickSample {
    int32_t enabled, x, y, xMin, yMin;
};

struct TitleSample {
    const char* parts[6];  // Text, Operand1..3, Operator1..2
};

struct SizeSample {
    const char* name;
    int32_t width, height;
};

struct AlertSample {
    int32_t delay;
    uint8_t bringToTop, flash, sound, frame;
};

// Hotkey: 0 SharedNumber, 4-51 kept, 52 Modifier, 56 Key, 60 ClickCount,
// 64 + 20 c click c (Enabled, X, Y, XMin, YMin).
struct HotKeySample {
    int32_t shared, modifier, key, clickCount;
    std::array<ClickSample, 3> clicks;
};

// Event macro: 41 Enabled, 42 OnTurn, 43 OnColour, 44 SameClick, 45
// OnlyActive; 64, 72, 80, 88 TurnDelayMin, ColourDelayMin, TurnDelayMax,
// ColourDelayMax; 112 TScaleRef; 128 TColourPoint; 144 colour; 147 colour 2;
// 156 Tolerance; 160 Tolerance2; 168 click.
struct EventSample {
    uint8_t flags[5];  // Enabled, OnTurn, OnColour, SameClick, OnlyActive
    double delays[4];
    int32_t scale[4];
    int32_t point[4];
    uint8_t colour[3], colour2[3];
    int32_t tolerance, tolerance2;
    ClickSample click;
};

const TitleSample kTitles[] = {
    {{"Table and not Tournament", "Table", "Tournament", "", "and not", ""}},
    {{"Hold'em or Omaha", "Hold'em", "Omaha", "", "or", ""}},
    {{"Table and Logged or Blinds", "Table", "Logged", "Blinds", "and", "or"}},
};
const SizeSample kSizes[] = {{"Normal", 792, 546}, {"Small", 483, 333}};
const AlertSample kAlerts[4] = {{0, 1, 0, 0, 1}, {5, 1, 1, 0, 1}, {10, 1, 1, 1, 1}, {0, 0, 0, 1, 0}};
const HotKeySample kHotKeys[] = {
    {1, 0, 0, 1, {{{1, 640, 520, 390, 317}, {}, {}}}},
    {0, 17, 'F', 2, {{{1, 700, 520, 426, 317}, {1, 760, 470, 463, 287}, {}}}},
    {0, 18, 0x70, 3, {{{1, 100, 200, 61, 122}, {0, 5, 6, 7, 8}, {1, -4, 1000, -2, 609}}}},
};
const EventSample kEvents[4] = {
    {{1, 1, 0, 0, 0}, {3.5, 0, 6.25, 0}, {792, 546, 483, 333}, {0, 0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 0, 0,
     {1, 400, 450, 244, 275}},
    {{1, 0, 1, 1, 1}, {0, 0.5, 0, 1.5}, {792, 546, 483, 333}, {396, 300, 241, 183}, {255, 255, 0}, {250, 250, 0}, 12,
     14, {1, 396, 300, 241, 183}},
    {{0, 0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0}, {0, 0, 0}, 0, 0, {0, 0, 0, 0, 0}},
    {{1, 1, 1, 0, 1}, {0.25, 0.75, 2, 3}, {800, 600, 400, 300}, {620, 410, 310, 205}, {10, 120, 30}, {11, 121, 31},
     8, 9, {1, 640, 450, 320, 225}},
};

void PokeClick(std::vector<uint8_t>& r, std::size_t at, const ClickSample& c) {
    PokeI32(r, at, c.enabled);
    PokeI32(r, at + 4, c.x);
    PokeI32(r, at + 8, c.y);
    PokeI32(r, at + 12, c.xMin);
    PokeI32(r, at + 16, c.yMin);
}

// The sample room "PokerStars"; the pattern of seed stays in every byte that
// is not one of its fields, also past the lengths of short strings and in
// the hotkeys and title and size slots it does not use.
std::vector<uint8_t> SampleRoom(int seed) {
    auto r = Pattern(TPokerRoom::ByteSize, seed);
    PokeShort(r, 0, "KOVAv3.08");  // byte 10 is the spare byte: pattern
    r[11] = 1;
    PokeI32(r, 16, 1);
    PokeShort(r, 20, "PokerStars");
    PokeShort(r, 61, "PokerStarsTableFrameClass");
    for (std::size_t t = 0; t < std::size(kTitles); ++t) {
        const std::size_t at = 102 + 246 * t;
        const std::size_t offsets[6] = {0, 101, 142, 183, 224, 235};
        for (int i = 0; i < 6; ++i) PokeShort(r, at + offsets[i], kTitles[t].parts[i]);
    }
    for (std::size_t s = 0; s < std::size(kSizes); ++s) {
        const std::size_t at = 2564 + 52 * s;
        PokeShort(r, at, kSizes[s].name);
        PokeI32(r, at + 44, kSizes[s].width);
        PokeI32(r, at + 48, kSizes[s].height);
    }
    r[3084] = 1;
    r[3085] = 0;
    r[3086] = 1;
    const int32_t scale[4] = {792, 546, 483, 333}, fold[4] = {600, 500, 366, 305};
    for (int i = 0; i < 4; ++i) {
        PokeI32(r, 3108 + 4 * i, scale[i]);
        PokeI32(r, 3124 + 4 * i, fold[i]);
    }
    const uint8_t colours[6] = {180, 30, 30, 170, 25, 25};
    for (int i = 0; i < 6; ++i) r[3140 + i] = colours[i];
    PokeI32(r, 3148, 20);
    PokeI32(r, 3152, 25);
    PokeI32(r, 3156, 30);
    r[3160] = 1, r[3161] = 0, r[3162] = 1, r[3163] = 1;
    for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t at = 3164 + 8 * k;
        PokeI32(r, at, kAlerts[k].delay);
        r[at + 4] = kAlerts[k].bringToTop;
        r[at + 5] = kAlerts[k].flash;
        r[at + 6] = kAlerts[k].sound;
        r[at + 7] = kAlerts[k].frame;
    }
    PokeI32(r, 3196, static_cast<int32_t>(std::size(kHotKeys)));
    for (std::size_t n = 0; n < std::size(kHotKeys); ++n) {
        const HotKeySample& h = kHotKeys[n];
        const std::size_t at = 3200 + 224 * n;
        PokeI32(r, at, h.shared);
        PokeI32(r, at + 52, h.modifier);
        PokeI32(r, at + 56, h.key);
        PokeI32(r, at + 60, h.clickCount);
        for (std::size_t c = 0; c < h.clicks.size(); ++c) PokeClick(r, at + 64 + 20 * c, h.clicks[c]);
    }
    for (std::size_t e = 0; e < 4; ++e) {
        const EventSample& s = kEvents[e];
        const std::size_t at = 7688 + 328 * e;
        for (int i = 0; i < 5; ++i) r[at + 41 + i] = s.flags[i];
        for (int i = 0; i < 4; ++i) {
            PokeF64(r, at + 64 + 8 * i, s.delays[i]);
            PokeI32(r, at + 112 + 4 * i, s.scale[i]);
            PokeI32(r, at + 128 + 4 * i, s.point[i]);
        }
        for (int i = 0; i < 3; ++i) {
            r[at + 144 + i] = s.colour[i];
            r[at + 147 + i] = s.colour2[i];
        }
        PokeI32(r, at + 156, s.tolerance);
        PokeI32(r, at + 160, s.tolerance2);
        PokeClick(r, at + 168, s.click);
    }
    return r;
}

// A custom room with nothing but a name and a class.
std::vector<uint8_t> CustomRoom(int seed) {
    std::vector<uint8_t> r(TPokerRoom::ByteSize, 0);
    PokeShort(r, 0, "KOVAv3.08");
    r[11] = 1;
    PokeShort(r, 20, "Custom");
    PokeShort(r, 61, "MyClientWindow");
    const auto kept = Pattern(1968, seed);  // 9000-10967: the editors' and adapters'
    std::copy(kept.begin(), kept.end(), r.begin() + 9000);
    return r;
}

TMacroClick ClickOf(const ClickSample& c) { return TMacroClick{c.enabled, c.x, c.y, c.xMin, c.yMin}; }

void ExpectSampleRoomAlertsAndHotKeys(const TPokerRoom& room) {
    for (std::size_t k = 0; k < 4; ++k) {
        const AlertSample& a = kAlerts[k];
        EXPECT_EQ(room.AlertSteps[k], (TTurnAlertStep{a.delay, a.bringToTop, a.flash, a.sound, a.frame})) << "step " << k;
    }
    EXPECT_EQ(room.HotKeyCount, 3);
    for (std::size_t n = 0; n < std::size(kHotKeys); ++n) {
        SCOPED_TRACE("hotkey " + std::to_string(n + 1));
        const TRoomHotKey& h = room.HotKeys[n];
        EXPECT_EQ(h.Binding.SharedNumber, kHotKeys[n].shared);
        EXPECT_EQ(h.Binding.Modifier, kHotKeys[n].modifier);
        EXPECT_EQ(h.Binding.Key, kHotKeys[n].key);
        EXPECT_EQ(h.ClickCount, kHotKeys[n].clickCount);
        for (std::size_t c = 0; c < 3; ++c) EXPECT_EQ(h.Clicks[c], ClickOf(kHotKeys[n].clicks[c])) << "click " << c;
    }
}

// A room converted from the old layout still carries the old marker (until
// it is written) and has no event macros.
void ExpectSampleRoom(const TPokerRoom& room, bool converted) {
    EXPECT_EQ(room.Marker.Str(), converted ? "KOVAv1.09" : "KOVAv3.08");
    EXPECT_EQ(room.Listed, 1);
    EXPECT_EQ(room.RoomType, 1);
    EXPECT_EQ(room.Name.Str(), "PokerStars");
    EXPECT_EQ(room.WindowClass.Str(), "PokerStarsTableFrameClass");
    for (std::size_t t = 0; t < std::size(kTitles); ++t) {
        const TTitleSpec& s = room.Titles[t];
        const std::string parts[6] = {s.Text.Str(),     s.Operand1.Str(),  s.Operand2.Str(),
                                      s.Operand3.Str(), s.Operator1.Str(), s.Operator2.Str()};
        for (int i = 0; i < 6; ++i) EXPECT_EQ(parts[i], kTitles[t].parts[i]) << "title " << t << " part " << i;
    }
    for (std::size_t s = 0; s < std::size(kSizes); ++s) {
        EXPECT_EQ(room.Sizes[s].Name.Str(), kSizes[s].name);
        EXPECT_EQ(room.Sizes[s].Width, kSizes[s].width);
        EXPECT_EQ(room.Sizes[s].Height, kSizes[s].height);
    }
    EXPECT_EQ(room.FoldButtonActivation, 1);
    EXPECT_EQ(room.FlashedSeatActivation, 0);
    EXPECT_EQ(room.Proportional, 1);
    EXPECT_EQ(room.ScaleRef, (TScaleRef{792, 546, 483, 333}));
    EXPECT_EQ(room.FoldPoint, (TColourPoint{600, 500, 366, 305}));
    EXPECT_EQ(room.FoldColour, (TRGB{180, 30, 30}));
    EXPECT_EQ(room.FoldColour2, (TRGB{170, 25, 25}));
    EXPECT_EQ(room.Tolerance, 20);
    EXPECT_EQ(room.Tolerance2, 25);
    EXPECT_EQ(room.TotalTimeBank, 30);
    EXPECT_EQ(room.CommonBringToTop, 1);
    EXPECT_EQ(room.CommonFlash, 0);
    EXPECT_EQ(room.CommonSound, 1);
    EXPECT_EQ(room.FrameOn, 1);
    ExpectSampleRoomAlertsAndHotKeys(room);
    for (std::size_t e = 0; e < 4; ++e) {
        SCOPED_TRACE("event macro " + std::to_string(e));
        const TEventMacro& m = room.EventMacros[e];
        if (converted) {
            EXPECT_EQ(m, TEventMacro{});
            continue;
        }
        const EventSample& s = kEvents[e];
        const uint8_t flags[5] = {m.Enabled, m.OnTurn, m.OnColour, m.SameClick, m.OnlyActive};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(flags[i], s.flags[i]) << "flag " << i;
        EXPECT_EQ(m.TurnDelayMin, s.delays[0]);
        EXPECT_EQ(m.ColourDelayMin, s.delays[1]);
        EXPECT_EQ(m.TurnDelayMax, s.delays[2]);
        EXPECT_EQ(m.ColourDelayMax, s.delays[3]);
        EXPECT_EQ(m.ScaleRef, (TScaleRef{s.scale[0], s.scale[1], s.scale[2], s.scale[3]}));
        EXPECT_EQ(m.Point, (TColourPoint{s.point[0], s.point[1], s.point[2], s.point[3]}));
        EXPECT_EQ(m.Colour, (TRGB{s.colour[0], s.colour[1], s.colour[2]}));
        EXPECT_EQ(m.Colour2, (TRGB{s.colour2[0], s.colour2[1], s.colour2[2]}));
        EXPECT_EQ(m.Tolerance, s.tolerance);
        EXPECT_EQ(m.Tolerance2, s.tolerance2);
        EXPECT_EQ(m.Click, ClickOf(s.click));
    }
}

void ExpectCustomRoom(const TPokerRoom& room) {
    EXPECT_EQ(room.Name.Str(), "Custom");
    EXPECT_EQ(room.WindowClass.Str(), "MyClientWindow");
    EXPECT_EQ(room.RoomType, 0);
    EXPECT_EQ(room.HotKeyCount, 0);
    EXPECT_EQ(room.EventMacros[0], TEventMacro{});
}

TEST(GoldenFiles, PokerRoomsWithHotKeysAndEventMacros) {
    const auto bytes = Join({SampleRoom(1), CustomRoom(2)});
    ExpectCheckedIn("pokerrooms/PokerRooms.kov", bytes);
    ScratchFolder dir;
    MessageCapture messages;
    const auto file = dir / PokerRoomsFileName;
    WriteBytes(file, bytes);

    std::vector<TPokerRoom> rooms;
    ASSERT_EQ(LoadPokerRooms(file, rooms), TLoadStatus::Loaded);
    EXPECT_TRUE(messages.Messages().empty());
    ASSERT_EQ(rooms.size(), 2u);
    ExpectSampleRoom(rooms[0], false);
    ExpectCustomRoom(rooms[1]);

    ASSERT_TRUE(SavePokerRooms(file, rooms));
    EXPECT_TRUE(SameBytes(ReadBytes(file), bytes));
}

// The old layout (9292 bytes) is the new one up to byte 3195; then 112 bytes
// the new layout drops, HotKeyCount at 3308 and the 20 hotkeys from 3312,
// and 1500 more dropped bytes. No event macros.
std::vector<uint8_t> OldRecordOf(const std::vector<uint8_t>& room, int seed) {
    auto old = Pattern(OldPokerRoomSize, seed);
    std::copy(room.begin(), room.begin() + 3196, old.begin());
    std::copy(room.begin() + 3196, room.begin() + 3200, old.begin() + 3308);
    std::copy(room.begin() + 3200, room.begin() + 3200 + 20 * 224, old.begin() + 3312);
    PokeShort(old, 0, "KOVAv1.09");
    return old;
}

// What becomes of it: everything from byte 7680 on zero.
std::vector<uint8_t> ConvertedRecordOf(std::vector<uint8_t> room) {
    std::fill(room.begin() + 7680, room.end(), 0);
    return room;
}

TEST(GoldenFiles, OldPokerRoomsAreConvertedAndWrittenInTheNewLayout) {
    const auto bytes = Join({OldRecordOf(SampleRoom(3), 4), OldRecordOf(CustomRoom(5), 6)});
    ExpectCheckedIn("pokerrooms/PokerRooms-KOVAv1.09.kov", bytes);
    ScratchFolder dir;
    MessageCapture messages;
    const auto file = dir / PokerRoomsFileName;
    WriteBytes(file, bytes);

    std::vector<TPokerRoom> rooms;
    ASSERT_EQ(LoadPokerRooms(file, rooms), TLoadStatus::Loaded);
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{"Old Version"}));
    ASSERT_EQ(rooms.size(), 2u);
    ExpectSampleRoom(rooms[0], true);
    ExpectCustomRoom(rooms[1]);

    ASSERT_TRUE(SavePokerRooms(file, rooms));
    EXPECT_TRUE(SameBytes(ReadBytes(file), Join({ConvertedRecordOf(SampleRoom(3)), ConvertedRecordOf(CustomRoom(5))})));
}

// ---- "user.ini" -------------------------------------------------------------------------
// 0 ShowHUD; 1-2 kept; 3 Sound; 4 Frame; 5-7 padding; 8 + 60 k binding k
// (SharedNumber 0, kept 4-51, Modifier 52, Key 56); 1208 UnderMouse; 1209
// ActiveTable; 1210-1211 padding.

struct BindingSample {
    int32_t shared, modifier, key;
};

// Global hotkeys 1-10 (1 and 2 also step through the tables), then the
// shared bindings 1-10 of room hotkeys.
const BindingSample kBindings[20] = {
    {0, 0, 0x26},  {0, 0, 0x28},  {0, 17, '1'}, {0, 17, '2'}, {0, 17, '3'}, {0, 0, 0},     {0, 18, 'P'},
    {0, 16, 0x7B}, {0, 0, 0},     {0, 0, 0x13}, {1, 0, 'F'},  {2, 0, 'C'},  {3, 0, 'R'},   {4, 16, 'R'},
    {5, 0, 0x20},  {6, 0, 0x04},  {7, 17, 'B'}, {8, 0, 0},    {9, 18, 'T'}, {10, 18, 'G'},
};

std::vector<uint8_t> SampleUserIni() {
    auto b = Pattern(TUserOptions::ByteSize, 7);
    b[0] = 1;
    b[3] = 1;
    b[4] = 0;
    for (std::size_t k = 0; k < 20; ++k) {
        PokeI32(b, 8 + 60 * k, kBindings[k].shared);
        PokeI32(b, 8 + 60 * k + 52, kBindings[k].modifier);
        PokeI32(b, 8 + 60 * k + 56, kBindings[k].key);
    }
    b[1208] = 0;
    b[1209] = 1;
    return b;
}

TEST(GoldenFiles, UserIni) {
    const auto bytes = SampleUserIni();
    ExpectCheckedIn("userini/user.ini", bytes);
    ScratchFolder dir;
    const auto file = dir / UserIniFileName;
    WriteBytes(file, bytes);

    TUserOptions options;
    ASSERT_EQ(LoadUserIni(file, options), TUserIniState::Loaded);
    EXPECT_EQ(options.ShowHUD, 1);
    EXPECT_EQ(options.Kept1, (std::array<uint8_t, 2>{bytes[1], bytes[2]}));
    EXPECT_EQ(options.Sound, 1);
    EXPECT_EQ(options.Frame, 0);
    for (std::size_t k = 0; k < 20; ++k) {
        EXPECT_EQ(options.Bindings[k].SharedNumber, kBindings[k].shared) << "binding " << k;
        EXPECT_EQ(options.Bindings[k].Modifier, kBindings[k].modifier) << "binding " << k;
        EXPECT_EQ(options.Bindings[k].Key, kBindings[k].key) << "binding " << k;
    }
    EXPECT_EQ(options.Bindings[19].Kept4[0], bytes[8 + 60 * 19 + 4]);
    EXPECT_EQ(options.UnderMouse, 0);
    EXPECT_EQ(options.ActiveTable, 1);

    ASSERT_TRUE(SaveUserIni(file, options));
    EXPECT_TRUE(SameBytes(ReadBytes(file), bytes));
}

// ---- calculator files ------------------------------------------------------------------------
// Model (13552 bytes): Name String[40] 0; 41-83 kept; ID 84; value [level]
// [row][column] (from 0) at 88 + 880 level + 80 row + 8 column; 13288-13551
// the table-type record, its format text String[40] at 13504.
// Assignment (48 bytes): Name String[40] 0; 41-43 padding; ModelIndex 44.

double ModelValue(int model, int level, int row, int column) {
    return model * 0.5 + level * 110 + row * 10 + column + 0.25;
}

std::vector<uint8_t> SampleModel(int model, const std::string& name, const std::string& typeName) {
    auto b = Pattern(TOpponentModel::ByteSize, 10 + model);
    PokeShort(b, 0, name);
    PokeI32(b, 84, model);
    for (int level = 0; level < 15; ++level) {
        for (int row = 0; row < 11; ++row) {
            for (int column = 0; column < 10; ++column) {
                PokeF64(b, 88 + 880 * level + 80 * row + 8 * column, ModelValue(model, level, row, column));
            }
        }
    }
    PokeShort(b, 13504, typeName);
    return b;
}

std::vector<uint8_t> SampleAssignment(const std::string& name, int32_t model, int seed) {
    auto b = Pattern(TModelAssignment::ByteSize, seed);
    PokeShort(b, 0, name);
    PokeI32(b, 44, model);
    return b;
}

TEST(GoldenFiles, OpponentModels) {
    const auto bytes = Join({SampleModel(0, "Tight", "SNG 9-max Turbo"), SampleModel(1, "Loose", "Heads-up")});
    ExpectCheckedIn("calcfiles/DefaultModel.dat", bytes);
    ScratchFolder dir;
    WriteBytes(dir / ModelsFileName, bytes);

    std::vector<TOpponentModel> models;
    ASSERT_EQ(LoadModels(dir.Path(), models), TLoadStatus::Loaded);
    ASSERT_EQ(models.size(), 2u);
    const char* names[2] = {"Tight", "Loose"};
    const char* types[2] = {"SNG 9-max Turbo", "Heads-up"};
    for (int m = 0; m < 2; ++m) {
        SCOPED_TRACE(names[m]);
        const TOpponentModel& model = models[static_cast<std::size_t>(m)];
        EXPECT_EQ(model.Name.Str(), names[m]);
        EXPECT_EQ(model.ID, m);
        EXPECT_EQ(model.Kept41[0], bytes[static_cast<std::size_t>(m) * TOpponentModel::ByteSize + 41]);
        for (int level = 0; level < 15; ++level) {
            for (int row = 0; row < 11; ++row) {
                for (int column = 0; column < 10; ++column) {
                    ASSERT_EQ(model.Values[level][row][column], ModelValue(m, level, row, column))
                        << level << " " << row << " " << column;
                }
            }
        }
        EXPECT_EQ(model.TypeName(), types[m]);
    }

    ASSERT_TRUE(SaveModel(dir.Path(), models, models[1]));  // rewrites the whole file
    EXPECT_TRUE(SameBytes(ReadBytes(dir / ModelsFileName), bytes));
}

TEST(GoldenFiles, ModelAssignments) {
    struct Case {
        const char* file;
        std::vector<std::pair<std::string, int32_t>> entries;
    };
    const Case cases[] = {
        {RegPlayersFileName, {{"alice", 0}, {"Bob the Fish", 1}, {std::string(40, 'z'), 0}}},
        {StartDefaultsFileName, {{"SNG 9-max Turbo", 0}, {"Heads-up", 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<uint8_t> bytes;
        int seed = 20;
        for (const auto& [name, model] : c.entries) {
            const auto record = SampleAssignment(name, model, seed++);
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        ExpectCheckedIn(std::string("calcfiles/") + c.file, bytes);
        ScratchFolder dir;
        const auto file = dir / c.file;
        WriteBytes(file, bytes);

        std::vector<TModelAssignment> list;
        ASSERT_EQ(LoadAssignments(file, list), TLoadStatus::Loaded);
        ASSERT_EQ(list.size(), c.entries.size());
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i].Name.Str(), c.entries[i].first);
            EXPECT_EQ(list[i].Padding[2], bytes[i * TModelAssignment::ByteSize + 43]);
            EXPECT_EQ(list[i].ModelIndex, c.entries[i].second);
        }

        // Saving an entry unchanged rewrites the whole file.
        ASSERT_TRUE(SaveAssignment(file, list, c.entries[0].first, c.entries[0].second));
        EXPECT_TRUE(SameBytes(ReadBytes(file), bytes));
    }
}

}  // namespace
}  // namespace kova::tables
