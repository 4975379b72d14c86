// make_seeds OUT_DIR: writes the starting inputs of the data-file readers'
// fuzz targets, one folder per reader, with the program's own encoders:
//   OUT_DIR/placeconfig  configs of one and of several groups and slots
//   OUT_DIR/pokerrooms   rooms with titles, hotkeys and an event macro, in
//                        the current layout and in the older one
//   OUT_DIR/userini      options with global hotkeys
//   OUT_DIR/calcfiles    a model file and an assignment file
// Starting from files that pass the markers and record sizes, a short fuzz
// run spends its time inside the records rather than finding the header.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tables/files/calcfiles.h"
#include "tables/files/placeconfig_file.h"
#include "tables/files/pokerrooms_file.h"
#include "tables/files/userini.h"

namespace fs = std::filesystem;
namespace t = kova::tables;

namespace {

using Bytes = std::vector<uint8_t>;

bool Write(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

t::TGroupRec Group(const char* name, const char* title, int slots) {
    t::TGroupRec g;
    g.RoomIndex = 0;
    g.RoomName = "Seed Room";
    g.Name = name;
    g.Title.Text = std::string(title) + " and not Lobby";
    g.Title.Operand1 = title;
    g.Title.Operator1 = "and not";
    g.Title.Operand2 = "Lobby";
    g.ClassPattern = "SeedTableClass";
    g.AutoPlace = g.AutoSort = g.AutoSize = g.AutoActivate = 1;
    g.Size1.Name = "640 x 440";
    g.Size1.Width = 640;
    g.Size1.Height = 440;
    g.Size2 = g.Size1;
    for (int i = 0; i < slots; ++i) {
        t::TSlotRec s;
        s.Left = (i % 3) * 640;
        s.Top = (i / 3) * 450;
        s.Width = 640;
        s.Height = 440;
        s.ActLeft = s.Left;
        s.ActTop = s.Top;
        s.ActWidth = 800;
        s.ActHeight = 550;
        g.Slots.push_back(s);
    }
    return g;
}

t::TPokerRoom Room(const char* name) {
    t::TPokerRoom room;
    room.Listed = 1;
    room.Name = name;
    room.WindowClass = "SeedTableClass";
    room.Titles[0].Text = "Table";
    room.Titles[0].Operand1 = "Table";
    room.Sizes[0].Name = "640 x 440";
    room.Sizes[0].Width = 640;
    room.Sizes[0].Height = 440;
    room.FoldButtonActivation = 1;
    room.Proportional = 1;
    room.ScaleRef = t::TScaleRef{1000, 1000, 500, 500};
    room.FoldPoint = t::TColourPoint{630, 905, 315, 452};
    room.FoldColour = t::TRGB{200, 24, 24};
    room.Tolerance = 30;
    room.FrameOn = 1;
    room.AlertSteps[0] = t::TTurnAlertStep{0, 1, 0, 0, 0};
    room.HotKeyCount = 2;
    for (int i = 0; i < 2; ++i) {
        room.HotKeys[i].Binding.Modifier = 17;
        room.HotKeys[i].Binding.Key = 'F' + i;
        room.HotKeys[i].ClickCount = 1;
        room.HotKeys[i].Clicks[0] = t::TMacroClick{1, 100 + i, 200, 50, 100};
    }
    room.EventMacros[0].Enabled = 1;
    room.EventMacros[0].OnTurn = 1;
    room.EventMacros[0].TurnDelayMin = 1.5;
    room.EventMacros[0].TurnDelayMax = 3;
    room.EventMacros[0].Click = t::TMacroClick{1, 10, 20, 5, 10};
    return room;
}

// The same room in the older 9292-byte layout: its first 3196 bytes as they
// are, the hotkey count at 3308 and the hotkeys from 3312.
Bytes OldLayoutRoom(const t::TPokerRoom& room) {
    const Bytes current = t::EncodePokerRoom(room);
    Bytes old(t::OldPokerRoomSize, 0);
    std::memcpy(old.data(), current.data(), 3196);
    old[0] = 9;
    std::memcpy(old.data() + 1, t::OldPokerRoomMarker, 9);
    std::memcpy(old.data() + 3308, current.data() + 3196, 4);
    std::memcpy(old.data() + 3312, current.data() + 3200, 20 * t::TRoomHotKey::ByteSize);
    return old;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds OUT_DIR\n");
        return 2;
    }
    const fs::path out = argv[1];
    bool ok = true;

    t::TConfigFileHeader header;
    t::TPlaceConfig one;
    one.Name = "One";
    one.Groups.push_back(Group("Tables", "Table", 1));
    t::TPlaceConfig many;
    many.Name = "Many";
    many.TOI.StackSlot = 2;
    many.Groups.push_back(Group("Cash", "Cash", 6));
    many.Groups.push_back(Group("Tournaments", "Tournament", 4));
    ok = Write(out / "placeconfig" / "one.cnfg", t::EncodePlaceConfig(header, 0, {one})) && ok;
    ok = Write(out / "placeconfig" / "many.cnfg", t::EncodePlaceConfig(header, 1, {one, many})) && ok;

    ok = Write(out / "pokerrooms" / "one.kov", t::EncodePokerRooms({Room("Seed Room")})) && ok;
    ok = Write(out / "pokerrooms" / "two.kov", t::EncodePokerRooms({Room("Seed Room"), Room("Custom")})) && ok;
    ok = Write(out / "pokerrooms" / "old.kov", OldLayoutRoom(Room("Old Room"))) && ok;

    t::TUserOptions user;
    user.ShowHUD = 1;
    user.Frame = 1;
    user.ActiveTable = 1;
    user.Bindings[0].Modifier = 16;
    user.Bindings[0].Key = 0x70;
    user.Bindings[10].SharedNumber = 1;
    user.Bindings[10].Key = 0x71;
    ok = Write(out / "userini" / "user.ini", t::EncodeUserOptions(user)) && ok;

    t::TOpponentModel model;
    model.Name = "Seed model";
    model.SetTypeName("Sit and go");
    for (int level = 0; level < t::TOpponentModel::Levels; ++level)
        for (int row = 0; row < t::TOpponentModel::Rows; ++row)
            for (int col = 0; col < t::TOpponentModel::Columns; ++col) model.Values[level][row][col] = 5.0 * (row + col);
    ok = Write(out / "calcfiles" / "DefaultModel.dat", t::EncodeModels({model})) && ok;
    t::TModelAssignment a, b;
    a.Name = "Player One";
    b.Name = "Player Two";
    b.ModelIndex = 1;
    ok = Write(out / "calcfiles" / "RegPlayer.dat", t::EncodeAssignments({a, b})) && ok;

    if (!ok) {
        std::fprintf(stderr, "make_seeds: could not write into %s\n", out.string().c_str());
        return 1;
    }
    return 0;
}
