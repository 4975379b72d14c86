#include "mainwindow/hotkeys/logic/keynames.h"

#include <array>

namespace kova::mainwindow {

namespace {

constexpr std::array<TKeyName, 99> kKeyNames{{
    {1, "LButton"},       {2, "RButton"},      {3, "Cancel"},        {4, "MButton"},       {5, "XButton1"},
    {6, "XButton2"},      {8, "Backspace"},    {9, "Tab"},           {10, "RButtonDown"},  {11, "RButtonUp"},
    {12, "Clear"},        {13, "Enter"},       {14, "WheelDown"},    {15, "WheelUp"},      {16, "Shift"},
    {17, "Ctrl"},         {18, "Alt"},         {19, "Pause"},        {20, "Caps Lock"},    {27, "Esc"},
    {32, "Spacebar"},     {33, "Page Up"},     {34, "Page Down"},    {35, "End"},          {36, "Home"},
    {37, "Left Arrow"},   {38, "Up Arrow"},    {39, "Right Arrow"},  {40, "Down Arrow"},   {41, "Select"},
    {42, "Print"},        {43, "Execute"},     {44, "Print Screen"}, {45, "Ins"},          {46, "Del"},
    {47, "Help"},         {91, "LWin"},        {92, "RWin"},         {93, "Apps"},         {95, "Sleep"},
    {96, "Numpad0"},      {97, "Numpad1"},     {98, "Numpad2"},      {99, "Numpad3"},      {100, "Numpad4"},
    {101, "Numpad5"},     {102, "Numpad6"},    {103, "Numpad7"},     {104, "Numpad8"},     {105, "Numpad9"},
    {106, "NumpadMult"},  {107, "NumpadAdd"},  {108, "Separator"},   {109, "NumpadSubstr"}, {110, "NumpadDot"},
    {111, "NumpadDivide"}, {112, "F1"},        {113, "F2"},          {114, "F3"},          {115, "F4"},
    {116, "F5"},          {117, "F6"},         {118, "F7"},          {119, "F8"},          {120, "F9"},
    {121, "F10"},         {122, "F11"},        {123, "F12"},         {124, "F13"},         {125, "F14"},
    {126, "F15"},         {127, "F16"},        {128, "F17"},         {129, "F18"},         {130, "F19"},
    {131, "F20"},         {132, "F21"},        {133, "F22"},         {134, "F23"},         {135, "F24"},
    {144, "Num Lock"},    {145, "Scroll Lock"}, {160, "LeftShift"},  {161, "RightShift"},  {162, "LeftCtrl"},
    {163, "RightCtrl"},   {164, "LeftAlt"},    {165, "RightAlt"},    {186, ";"},           {187, "="},
    {188, ","},           {189, "-"},          {190, "."},           {191, "/"},           {192, "~"},
    {219, "["},           {220, "\\"},         {221, "]"},           {222, "\""},
}};

// Letters and digits are named by their own character.
bool IsCharacterCode(int32_t code) { return code >= '0' && code <= 'Z'; }

}  // namespace

std::span<const TKeyName> KeyNames() { return kKeyNames; }

std::string KeyNameOf(int32_t code) {
    for (const TKeyName& k : kKeyNames)
        if (k.Code == code) return k.Name;
    if (IsCharacterCode(code)) return std::string(1, static_cast<char>(code));
    return std::string();
}

int32_t KeyCodeOf(const std::string& name) {
    // Bindings keep only the plain modifiers: either Shift key is Shift.
    std::string n = name;
    if (n == "LeftShift" || n == "RightShift")
        n = "Shift";
    else if (n == "LeftCtrl" || n == "RightCtrl")
        n = "Ctrl";
    else if (n == "LeftAlt" || n == "RightAlt")
        n = "Alt";
    for (const TKeyName& k : kKeyNames) {
        if (n != k.Name) continue;
        return k.Code == 2 ? 11 : k.Code;
    }
    if (n.size() == 1 && IsCharacterCode(static_cast<unsigned char>(n[0]))) return static_cast<unsigned char>(n[0]);
    return 0;
}

}  // namespace kova::mainwindow
