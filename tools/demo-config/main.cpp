// Writes the data files of the run command's demo into a folder, with the
// program's own writers: a poker room for the simulated client's tables
// (class "PokerStarsTableFrameClass", the Fold button's red at the place the
// client paints it), a config whose one group lays four tables out in a 2 x 2
// grid, and a "startup.ini" that starts the config at once.
//
//   demo-config FOLDER
#include <cstdio>
#include <filesystem>
#include <string>

#include "framework/portable/inifiles.h"
#include "tables/files/placeconfig_file.h"
#include "tables/files/pokerrooms_file.h"
#include "tables/files/userini.h"

namespace t = kova::tables;

namespace {

t::TPokerRoom DemoRoom() {
    t::TPokerRoom room;
    room.Listed = 1;
    room.RoomType = 0;  // no client-specific adapters: the generic table
    room.Name = "Demo Room";
    room.WindowClass = "PokerStarsTableFrameClass";
    room.Titles[0].Text = "Demo Table";
    room.Titles[0].Operand1 = "Demo Table";
    room.Sizes[0].Name = "500 x 345";
    room.Sizes[0].Width = 500;
    room.Sizes[0].Height = 345;
    room.FoldButtonActivation = 1;
    // The client paints its Fold button at 56-70 % of the width and 86-95 %
    // of the height: a point in its middle, scaled from the origin.
    room.Proportional = 1;
    room.ScaleRef = t::TScaleRef{1000, 1000, 500, 500};
    room.FoldPoint = t::TColourPoint{630, 905, 315, 452};
    room.FoldColour = t::TRGB{200, 24, 24};
    room.FoldColour2 = room.FoldColour;
    room.Tolerance = 30;
    room.Tolerance2 = 30;
    room.CommonBringToTop = 1;
    room.FrameOn = 1;
    room.AlertSteps[0] = t::TTurnAlertStep{0, 1, 0, 0, 0};
    return room;
}

t::TPlaceConfig DemoConfig() {
    t::TGroupRec g;
    g.RoomIndex = 0;
    g.RoomName = "Demo Room";
    g.Name = "Demo tables";
    g.Title.Text = "Demo Table";
    g.Title.Operand1 = "Demo Table";
    g.ClassPattern = "PokerStarsTableFrameClass";
    g.AutoPlace = 1;
    g.AutoSort = 1;
    g.AutoSize = 1;
    g.AutoActivate = 1;
    g.Size1.Name = "500 x 345";
    g.Size1.Width = 500;
    g.Size1.Height = 345;
    g.Size2 = g.Size1;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col) {
            t::TSlotRec s;
            s.Left = col * 500;
            s.Top = row * 355;
            s.Width = 500;
            s.Height = 345;
            s.ActLeft = s.Left;
            s.ActTop = s.Top;
            s.ActWidth = s.Width;
            s.ActHeight = s.Height;
            g.Slots.push_back(s);
        }
    }
    t::TPlaceConfig c;
    c.Name = "Demo";
    c.Groups.push_back(g);
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: demo-config FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    bool ok = t::SavePokerRooms(folder / t::PokerRoomsFileName, {DemoRoom()});
    t::TConfigFileHeader header;
    ok = t::WritePlaceConfig(folder / t::PlaceConfigFileName, header, 0, {DemoConfig()}) && ok;

    t::TStartupSettings startup;
    // Beside the four tables, wholly on the run command's 1920 x 1080 screen.
    startup.Left = 1010;
    startup.Top = 20;
    startup.ActivePage = 1;  // the AutoPlace page
    startup.AutoRun = true;
    ok = t::SaveStartupIni(folder / t::StartupIniFileName, startup) && ok;

    t::TUserOptions user;
    user.ShowHUD = 1;
    user.Frame = 1;
    user.ActiveTable = 1;
    ok = t::SaveUserIni(folder / t::UserIniFileName, user) && ok;

    if (!ok) {
        std::fprintf(stderr, "demo-config: could not write the files into %s\n", folder.string().c_str());
        return 1;
    }
    std::printf("demo-config: demo files written into %s\n", folder.string().c_str());
    return 0;
}
