// The byte layout of every record of the binary data files, one field table
// per record (recordlayout.h says how a table is read and checked). These
// tables are the layouts: the readers and writers of "PlaceConfig.cnfg",
// "PokerRooms.kov" (and room export files), "user.ini", "DefaultModel.dat",
// "RegPlayer.dat" and "StartDefault.dat" are driven by them.
//
// Integers are little-endian int32, doubles IEEE 64-bit; a short string of
// capacity N is its length byte and N characters (N + 1 bytes).
#pragma once

#include <tuple>

#include "tables/files/recordlayout.h"
#include "tables/model/variables.h"

namespace kova::tables::layout {

// ---- small records shared by several files -----------------------------------------

template <>
struct LayoutOf<TRGB> {
    static constexpr std::size_t ByteSize = 3;
    static constexpr auto Fields = std::tuple{
        Field(0, &TRGB::R, Byte),
        Field(1, &TRGB::G, Byte),
        Field(2, &TRGB::B, Byte),
    };
};

// A window-title expression as typed and as split into operands.
template <>
struct LayoutOf<TTitleSpec> {
    static constexpr std::size_t ByteSize = TTitleSpec::ByteSize;
    static constexpr auto Fields = std::tuple{
        Field(0, &TTitleSpec::Text, ShortString),
        Field(101, &TTitleSpec::Operand1, ShortString),
        Field(142, &TTitleSpec::Operand2, ShortString),
        Field(183, &TTitleSpec::Operand3, ShortString),
        Field(224, &TTitleSpec::Operator1, ShortString),
        Field(235, &TTitleSpec::Operator2, ShortString),
    };
};

template <>
struct LayoutOf<TWindowSize> {
    static constexpr std::size_t ByteSize = TWindowSize::ByteSize;
    static constexpr auto Fields = std::tuple{
        Field(0, &TWindowSize::Name, ShortString),
        Field(41, &TWindowSize::Padding, RawBytes),
        Field(44, &TWindowSize::Width, Int32),
        Field(48, &TWindowSize::Height, Int32),
    };
};

template <>
struct LayoutOf<TSlotRec> {
    static constexpr std::size_t ByteSize = TSlotRec::ByteSize;
    static constexpr auto Fields = std::tuple{
        Field(0, &TSlotRec::Left, Int32),
        Field(4, &TSlotRec::Top, Int32),
        Field(8, &TSlotRec::Width, Int32),
        Field(12, &TSlotRec::Height, Int32),
        Field(16, &TSlotRec::ActLeft, Int32),
        Field(20, &TSlotRec::ActTop, Int32),
        Field(24, &TSlotRec::ActWidth, Int32),
        Field(28, &TSlotRec::ActHeight, Int32),
    };
};

template <>
struct LayoutOf<TScaleRef> {
    static constexpr std::size_t ByteSize = 16;
    static constexpr auto Fields = std::tuple{
        Field(0, &TScaleRef::W, Int32),
        Field(4, &TScaleRef::H, Int32),
        Field(8, &TScaleRef::WMin, Int32),
        Field(12, &TScaleRef::HMin, Int32),
    };
};

template <>
struct LayoutOf<TColourPoint> {
    static constexpr std::size_t ByteSize = 16;
    static constexpr auto Fields = std::tuple{
        Field(0, &TColourPoint::X, Int32),
        Field(4, &TColourPoint::Y, Int32),
        Field(8, &TColourPoint::XMin, Int32),
        Field(12, &TColourPoint::YMin, Int32),
    };
};

template <>
struct LayoutOf<TMacroClick> {
    static constexpr std::size_t ByteSize = TMacroClick::ByteSize;
    static constexpr auto Fields = std::tuple{
        Field(0, &TMacroClick::Enabled, Int32),
        Field(4, &TMacroClick::X, Int32),
        Field(8, &TMacroClick::Y, Int32),
        Field(12, &TMacroClick::XMin, Int32),
        Field(16, &TMacroClick::YMin, Int32),
    };
};

template <>
struct LayoutOf<THotKeyBinding> {
    static constexpr std::size_t ByteSize = THotKeyBinding::ByteSize;
    static constexpr auto Fields = std::tuple{
        Field(0, &THotKeyBinding::SharedNumber, Int32),
        Field(4, &THotKeyBinding::Kept4, RawBytes),  // the editors' (action name and more)
        Field(52, &THotKeyBinding::Modifier, Int32),
        Field(56, &THotKeyBinding::Key, Int32),
    };
};

// ---- "PlaceConfig.cnfg" ---------------------------------------------------------------
// The file: a header, int32 config count C, C configs; a further header block
// starts the list anew (placeconfig_file.h).

template <>
struct LayoutOf<TConfigFileHeader> {
    static constexpr std::size_t ByteSize = TConfigFileHeader::ByteSize;
    static constexpr auto Fields = std::tuple{
        Field(0, &TConfigFileHeader::Marker, ShortString),
        Field(10, &TConfigFileHeader::Kept10, RawBytes),
        Field(24, &TConfigFileHeader::SelectedIndex, Int32),
        Field(28, &TConfigFileHeader::Byte28, Byte),
        Field(29, &TConfigFileHeader::Kept29, RawBytes),
    };
};

template <>
struct LayoutOf<TTOIConfig> {
    static constexpr std::size_t ByteSize = TTOIConfig::ByteSize;
    static constexpr auto Fields = std::tuple{
        Field(0, &TTOIConfig::StackSlot, Int32),
        Field(4, &TTOIConfig::NewTablesTo, Int32),
        Field(8, &TTOIConfig::WhenAutoActivated, Byte),
        Field(9, &TTOIConfig::AfterEnteringPot, Byte),
        Field(10, &TTOIConfig::SendToBottomAfterFold, Byte),
        Field(11, &TTOIConfig::Padding, Byte),
        Field(12, &TTOIConfig::KeepInGridCount, Int32),
        Field(16, &TTOIConfig::GridMinBB, Int32),
    };
};

template <>
struct LayoutOf<TGroupRec> {
    static constexpr const char* Name = "group";
    static constexpr auto Fields = std::tuple{
        Next(&TGroupRec::RoomIndex, Int32),
        Next(&TGroupRec::RoomName, ShortString),
        Next(&TGroupRec::Name, WideString, "group name"),
        Next(&TGroupRec::Title, Record),
        Next(&TGroupRec::ClassPattern, WideString, "window class pattern"),
        Next(&TGroupRec::AutoPlace, Byte),
        Next(&TGroupRec::AutoSort, Byte),
        Next(&TGroupRec::AutoShift, Byte),
        Next(&TGroupRec::AutoSize, Byte),
        Next(&TGroupRec::AutoActivate, Byte),
        Next(&TGroupRec::AllowChange, Byte),
        Next(&TGroupRec::ActivateSize, Byte),
        Next(&TGroupRec::MouseActivate, Byte),
        Next(&TGroupRec::SharedSlot, Byte),
        Next(&TGroupRec::TOIStyle, Byte),
        Next(&TGroupRec::Size1, Record),
        Next(&TGroupRec::Size2, Record),
        Next(&TGroupRec::Slots, CountedListOf(Record), "slot"),
    };
};

// A config as written, and as read from files whose header carries the
// current marker.
template <>
struct LayoutOf<TPlaceConfig> {
    static constexpr const char* Name = "config";
    static constexpr auto Fields = std::tuple{
        Next(&TPlaceConfig::Name, WideString, "config name"),
        Next(&TPlaceConfig::TOI, Record),
        Next(&TPlaceConfig::Groups, CountedListOf(Record), "group"),
    };
};

// A config of an older file: no TOI block (its settings stay zero).
struct OlderPlaceConfigLayout {
    static constexpr const char* Name = "config";
    static constexpr auto Fields = std::tuple{
        Next(&TPlaceConfig::Name, WideString, "config name"),
        Next(&TPlaceConfig::Groups, CountedListOf(Record), "group"),
    };
};

// ---- "PokerRooms.kov" ---------------------------------------------------------------------

template <>
struct LayoutOf<TTurnAlertStep> {
    static constexpr std::size_t ByteSize = 8;
    static constexpr auto Fields = std::tuple{
        Field(0, &TTurnAlertStep::Delay, Int32),
        Field(4, &TTurnAlertStep::BringToTop, Byte),
        Field(5, &TTurnAlertStep::Flash, Byte),
        Field(6, &TTurnAlertStep::Sound, Byte),
        Field(7, &TTurnAlertStep::Frame, Byte),
    };
};

template <>
struct LayoutOf<TRoomHotKey> {
    static constexpr std::size_t ByteSize = TRoomHotKey::ByteSize;
    static constexpr auto Fields = std::tuple{
        Field(0, &TRoomHotKey::Binding, Record),
        Field(60, &TRoomHotKey::ClickCount, Int32),
        Field(64, &TRoomHotKey::Clicks, ArrayOf(Record)),
    };
};

template <>
struct LayoutOf<TEventMacro> {
    static constexpr std::size_t ByteSize = TEventMacro::ByteSize;
    static constexpr auto Whole = &TEventMacro::KeptBytes;
    static constexpr auto Fields = std::tuple{
        Kept(0, 41),
        Field(41, &TEventMacro::Enabled, Byte),
        Field(42, &TEventMacro::OnTurn, Byte),
        Field(43, &TEventMacro::OnColour, Byte),
        Field(44, &TEventMacro::SameClick, Byte),
        Field(45, &TEventMacro::OnlyActive, Byte),
        Kept(46, 18),
        Field(64, &TEventMacro::TurnDelayMin, Float64),
        Field(72, &TEventMacro::ColourDelayMin, Float64),
        Field(80, &TEventMacro::TurnDelayMax, Float64),
        Field(88, &TEventMacro::ColourDelayMax, Float64),
        Kept(96, 16),
        Field(112, &TEventMacro::ScaleRef, Record),
        Field(128, &TEventMacro::Point, Record),
        Field(144, &TEventMacro::Colour, Record),
        Field(147, &TEventMacro::Colour2, Record),
        Kept(150, 6),
        Field(156, &TEventMacro::Tolerance, Int32),
        Field(160, &TEventMacro::Tolerance2, Int32),
        Kept(164, 4),
        Field(168, &TEventMacro::Click, Record),
        Kept(188, 140),
    };
};

// One room; the writer puts the current marker into bytes 0-9 (byte 10 stays).
template <>
struct LayoutOf<TPokerRoom> {
    static constexpr std::size_t ByteSize = TPokerRoom::ByteSize;
    static constexpr auto Whole = &TPokerRoom::KeptBytes;
    static constexpr auto Fields = std::tuple{
        Field(0, &TPokerRoom::Marker, ShortString),
        Field(11, &TPokerRoom::Listed, Byte),
        Kept(12, 4),
        Field(16, &TPokerRoom::RoomType, Int32),
        Field(20, &TPokerRoom::Name, ShortString),
        Field(61, &TPokerRoom::WindowClass, ShortString),
        Field(102, &TPokerRoom::Titles, ArrayOf(Record)),
        Kept(2562, 2),
        Field(2564, &TPokerRoom::Sizes, ArrayOf(Record)),
        Field(3084, &TPokerRoom::FoldButtonActivation, Byte),
        Field(3085, &TPokerRoom::FlashedSeatActivation, Byte),
        Field(3086, &TPokerRoom::Proportional, Byte),
        Kept(3087, 21),
        Field(3108, &TPokerRoom::ScaleRef, Record),
        Field(3124, &TPokerRoom::FoldPoint, Record),
        Field(3140, &TPokerRoom::FoldColour, Record),
        Field(3143, &TPokerRoom::FoldColour2, Record),
        Kept(3146, 2),
        Field(3148, &TPokerRoom::Tolerance, Int32),
        Field(3152, &TPokerRoom::Tolerance2, Int32),
        Field(3156, &TPokerRoom::TotalTimeBank, Int32),
        Field(3160, &TPokerRoom::CommonBringToTop, Byte),
        Field(3161, &TPokerRoom::CommonFlash, Byte),
        Field(3162, &TPokerRoom::CommonSound, Byte),
        Field(3163, &TPokerRoom::FrameOn, Byte),
        Field(3164, &TPokerRoom::AlertSteps, ArrayOf(Record)),
        Field(3196, &TPokerRoom::HotKeyCount, Int32),
        Field(3200, &TPokerRoom::HotKeys, ArrayOf(Record)),
        Kept(7680, 8),
        Field(7688, &TPokerRoom::EventMacros, ArrayOf(Record)),
        Kept(9000, 1968),  // the room adapters' and editors'
    };
};

// ---- "user.ini" --------------------------------------------------------------------------

template <>
struct LayoutOf<TUserOptions> {
    static constexpr std::size_t ByteSize = TUserOptions::ByteSize;
    static constexpr auto Fields = std::tuple{
        Field(0, &TUserOptions::ShowHUD, Byte),
        Field(1, &TUserOptions::Kept1, RawBytes),
        Field(3, &TUserOptions::Sound, Byte),
        Field(4, &TUserOptions::Frame, Byte),
        Field(5, &TUserOptions::Kept5, RawBytes),
        Field(8, &TUserOptions::Bindings, ArrayOf(Record)),
        Field(1208, &TUserOptions::UnderMouse, Byte),
        Field(1209, &TUserOptions::ActiveTable, Byte),
        Field(1210, &TUserOptions::Kept1210, RawBytes),
    };
};

// ---- calculator files ------------------------------------------------------------------------

// "DefaultModel.dat". Value [level][row][column] lies at
// 88 + level * 880 + row * 80 + column * 8 (all counted from 0).
template <>
struct LayoutOf<TOpponentModel> {
    static constexpr std::size_t ByteSize = TOpponentModel::ByteSize;
    static constexpr auto Fields = std::tuple{
        Field(0, &TOpponentModel::Name, ShortString),
        Field(41, &TOpponentModel::Kept41, RawBytes),
        Field(84, &TOpponentModel::ID, Int32),
        Field(88, &TOpponentModel::Values, ArrayOf(ArrayOf(ArrayOf(Float64)))),
        Field(13288, &TOpponentModel::TableType, RawBytes),
    };
};

// "RegPlayer.dat" and "StartDefault.dat".
template <>
struct LayoutOf<TModelAssignment> {
    static constexpr std::size_t ByteSize = TModelAssignment::ByteSize;
    static constexpr auto Fields = std::tuple{
        Field(0, &TModelAssignment::Name, ShortString),
        Field(41, &TModelAssignment::Padding, RawBytes),
        Field(44, &TModelAssignment::ModelIndex, Int32),
    };
};

}  // namespace kova::tables::layout
