// Key names both ways: what the combos show for a stored code, and what a
// chosen name stores.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "mainwindow/hotkeys/logic/keynames.h"

namespace kova::mainwindow {
namespace {

TEST(KeyNames, NameOfACode) {
    struct Case {
        int32_t code;
        const char* name;
    };
    const Case cases[] = {
        {65, "A"},           {48, "0"},           {90, "Z"},
        {58, ":"},           // inside 48..90 without an entry: still its character
        {59, ";"},           // the same character as 186's name
        {97, "Numpad1"},     // the table wins over the character ('a')
        {200, ""},           {0, ""},             {7, ""},         {-1, ""},      {47, "Help"},
        {91, "LWin"},        {136, ""},           {256, ""},       {65 + 256, ""},
        {1, "LButton"},      {2, "RButton"},      {10, "RButtonDown"}, {11, "RButtonUp"},
        {14, "WheelDown"},   {15, "WheelUp"},     {5, "XButton1"}, {6, "XButton2"},
        {16, "Shift"},       {162, "LeftCtrl"},   {165, "RightAlt"},
        {112, "F1"},         {135, "F24"},        {96, "Numpad0"}, {109, "NumpadSubstr"},
        {186, ";"},          {192, "~"},          {220, "\\"},     {222, "\""},   {32, "Spacebar"},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyNameOf(c.code), c.name) << "code " << c.code;
}

TEST(KeyNames, CodeOfAName) {
    struct Case {
        const char* name;
        int32_t code;
    };
    const Case cases[] = {
        // Left and right modifiers are stored as the plain one.
        {"RightCtrl", 17}, {"LeftCtrl", 17}, {"LeftShift", 16}, {"RightShift", 16}, {"LeftAlt", 18},
        {"RightAlt", 18},  {"Ctrl", 17},     {"Shift", 16},     {"Alt", 18},
        // The right button binds to its release; its press and release by name.
        {"RButton", 11},   {"RButtonDown", 10}, {"RButtonUp", 11}, {"LButton", 1}, {"MButton", 4},
        {"WheelUp", 15},   {"WheelDown", 14},
        // Characters: the table first, then "0".."Z" by their own code.
        {"A", 65},         {"0", 48},        {"Z", 90},         {":", 58},     {"@", 64},
        {";", 186},        {"=", 187},       {"\"", 222},       {"\\", 220},   {"~", 192},
        {"[", 219},   {"F11", 122},     {"F24", 135},      {"Numpad9", 105}, {"Caps Lock", 20},
        // Nothing else has a code; names compare exactly, case included.
        {"AB", 0},         {"None", 0},      {"", 0},           {"a", 0},      {"ctrl", 0},
        {"f1", 0},         {"F25", 0},       {" A", 0},         {"A ", 0},     {"_", 0},
        {"!", 0},          {"CapsLock", 0},  {"Page  Up", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyCodeOf(c.name), c.code) << "name \"" << c.name << "\"";
}

// Every stored code shows a name that stores the same code again, except
// the ones a binding deliberately keeps in another form, and 59 and 61
// (no keys of their own) whose characters name the keys 186 and 187.
TEST(KeyNames, NamesAndCodesRoundTrip) {
    const std::set<int32_t> changedOnPurpose{2, 160, 161, 162, 163, 164, 165, 59, 61};
    for (int32_t code = 0; code < 256; ++code) {
        const std::string name = KeyNameOf(code);
        if (name.empty() || changedOnPurpose.count(code)) continue;
        EXPECT_EQ(KeyCodeOf(name), code) << name;
    }
}

TEST(KeyNames, TableHasOneEntryPerCodeAndName) {
    std::set<int32_t> codes;
    std::set<std::string> names;
    int32_t previous = 0;
    for (const TKeyName& k : KeyNames()) {
        EXPECT_TRUE(codes.insert(k.Code).second) << k.Code;
        EXPECT_TRUE(names.insert(k.Name).second) << k.Name;
        EXPECT_GT(k.Code, previous) << k.Name;  // in code order, as the combos list them
        previous = k.Code;
    }
    EXPECT_EQ(KeyNames().size(), 99u);
}

}  // namespace
}  // namespace kova::mainwindow
