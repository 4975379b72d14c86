// The settings rows and small dialogs' fields without windows: which
// binding a row edits, combo texts and released keys as codes, the shared
// bindings' names in their record bytes, the TOI fields both ways and the
// title a window-title dialog composes.
#include <gtest/gtest.h>

#include <string>

#include "mainwindow/settings/logic/settingsmodel.h"
#include "tables/files/userini.h"

namespace kova::mainwindow::settings {
namespace {

namespace t = kova::tables;

TEST(SettingsRows, RowsEditTheirBindings) {
    EXPECT_EQ(GlobalRowBinding(1), 0);
    EXPECT_EQ(GlobalRowBinding(10), 9);
    EXPECT_EQ(SharedRowBinding(1), 10);
    EXPECT_EQ(SharedRowBinding(9), 18);  // the TOI dialog's two rows
    EXPECT_EQ(SharedRowBinding(10), 19);
    for (int32_t bad : {0, -1, 11}) {
        EXPECT_EQ(GlobalRowBinding(bad), -1) << bad;
        EXPECT_EQ(SharedRowBinding(bad), -1) << bad;
    }
}

TEST(SettingsRows, WhichHotKeysAreTheSystemsAndWhichActWhileSwitchedOff) {
    std::string registered, always;
    for (int32_t n = 0; n <= 12; ++n) {
        if (IsSystemHotKey(n)) registered += std::to_string(n) + " ";
        if (ActsWhileDisabled(n)) always += std::to_string(n) + " ";
    }
    EXPECT_EQ(registered, "3 4 5 6 7 8 9 10 11 ");
    EXPECT_EQ(always, "7 8 11 ");
}

TEST(SettingsRows, ComboTextsAndReleasedKeysBecomeCodes) {
    t::THotKeyBinding b;
    SetModifierFromText(b, "Ctrl");
    EXPECT_EQ(b.Modifier, 17);
    SetModifierFromText(b, "None");
    EXPECT_EQ(b.Modifier, 0);
    SetKeyFromText(b, "F5");
    EXPECT_EQ(b.Key, 116);
    SetKeyFromText(b, "RButton");  // the right button fires when let go
    EXPECT_EQ(b.Key, 11);
    SetKeyFromText(b, "");
    EXPECT_EQ(b.Key, 0);

    EXPECT_EQ(SetKeyFromReleasedKey(b, 'C'), "C");
    EXPECT_EQ(b.Key, 'C');
    EXPECT_EQ(SetKeyFromReleasedKey(b, 200), "");  // a key without a name
    EXPECT_EQ(b.Key, 0);
    EXPECT_EQ(SetKeyFromReleasedKey(b, 162), "LeftCtrl");
    EXPECT_EQ(b.Key, 162);
}

TEST(SettingsRows, KeyItemsNameEveryKeyOnceInCodeOrder) {
    const std::vector<std::string> items = KeyItems();
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front(), "None");
    // The table's 99 names and the 36 digits and letters.
    EXPECT_EQ(items.size(), 1u + 99u + 36u);
    auto at = [&](const std::string& name) { return std::find(items.begin(), items.end(), name) - items.begin(); };
    EXPECT_LT(at("LButton"), at("Tab"));
    EXPECT_LT(at("9"), at("A"));
    EXPECT_LT(at("Z"), at("LWin"));
    EXPECT_EQ(ModifierItems(), (std::vector<std::string>{"None", "Ctrl", "Shift", "Alt"}));
}

TEST(SettingsRows, ANameLivesInTheBindingsEditorBytesCutToForty) {
    t::TUserOptions options;
    t::THotKeyBinding& b = options.Bindings[10];
    b.Modifier = 17;
    b.Key = 'C';
    SetBindingName(b, "Call");
    EXPECT_EQ(BindingName(b), "Call");
    // In "user.ini" the binding starts at byte 8 + 60 * 10: its length byte
    // at +4, the characters after it, the codes where they always are.
    const std::vector<uint8_t> bytes = t::EncodeUserOptions(options);
    const size_t at = 8 + 60 * 10;
    EXPECT_EQ(bytes[at + 4], 4);
    EXPECT_EQ(std::string(bytes.begin() + at + 5, bytes.begin() + at + 9), "Call");
    EXPECT_EQ(bytes[at + 52], 17);
    EXPECT_EQ(bytes[at + 56], 'C');

    SetBindingName(b, std::string(45, 'x'));
    EXPECT_EQ(BindingName(b), std::string(40, 'x'));
    EXPECT_EQ(b.Modifier, 17);  // the codes after the name are untouched
    // A stored length past the field reads as the field.
    b.Kept4[0] = 200;
    EXPECT_EQ(BindingName(b).size(), 40u);

    EXPECT_EQ(DefaultSharedName(1), "Auto-Fold");
    EXPECT_EQ(DefaultSharedName(8), "Auto-Fold2");
    EXPECT_EQ(DefaultSharedName(11), "");
}

TEST(TOIFields, ShownAndStoredBack) {
    t::TTOIConfig toi;
    toi.StackSlot = 3;
    toi.NewTablesTo = 1;
    toi.AfterEnteringPot = 1;
    toi.SendToBottomAfterFold = 1;
    toi.Padding = 0x5A;
    toi.KeepInGridCount = 4;
    toi.GridMinBB = 200;
    TTOIFields f = TOIFieldsOf(toi);
    EXPECT_EQ(f.StackSlot, "3");
    EXPECT_EQ(f.NewTablesItem, 1);
    EXPECT_FALSE(f.WhenAutoActivated);
    EXPECT_TRUE(f.AfterEnteringPot);
    EXPECT_EQ(f.KeepInGrid, "4");
    EXPECT_EQ(f.GridBB, "200");
    EXPECT_TRUE(f.SendToBottom);

    t::TTOIConfig back;
    back.Padding = 0x5A;
    StoreTOIFields(f, back);
    EXPECT_EQ(back, toi);

    // A fresh config shows the first choice; typed text that is no number
    // is stored as 0; the byte the dialog does not show stays.
    EXPECT_TRUE(TOIFieldsOf(t::TTOIConfig{}).WhenAutoActivated);
    f.StackSlot = "two";
    f.KeepInGrid = "";
    f.GridBB = "99999999999";
    f.WhenAutoActivated = true;
    f.AfterEnteringPot = false;
    StoreTOIFields(f, toi);
    EXPECT_EQ(toi.StackSlot, 0);
    EXPECT_EQ(toi.KeepInGridCount, 0);
    EXPECT_EQ(toi.GridMinBB, 0);
    EXPECT_EQ(toi.WhenAutoActivated, 1);
    EXPECT_EQ(toi.AfterEnteringPot, 0);
    EXPECT_EQ(toi.Padding, 0x5A);
}

TEST(TitleFields, TheTextJoinsThePhrasesThatAreThere) {
    struct Case {
        std::array<std::string, 3> phrases;
        std::array<std::string, 2> ops;
        std::string text;
    };
    const Case cases[] = {
        {{"Table", "", ""}, {" and ", " and "}, "Table"},
        {{"Table", "NL", ""}, {" and not ", " and "}, "Table and not NL"},
        {{"Table", "NL", "Turbo"}, {" or ", " and "}, "Table or NL and Turbo"},
        {{"Table", "", "Turbo"}, {" or ", " and not "}, "Table and not Turbo"},
        {{"", "", ""}, {" and ", " and "}, ""},
    };
    for (const Case& c : cases) {
        TTitleFields f;
        f.Phrases = c.phrases;
        f.Operators = c.ops;
        const t::TTitleSpec spec = ComposeTitle(f);
        EXPECT_EQ(spec.Text.Str(), c.text);
        EXPECT_EQ(spec.Operand1.Str(), c.phrases[0]);
        EXPECT_EQ(spec.Operand3.Str(), c.phrases[2]);
        EXPECT_EQ(spec.Operator1.Str(), c.ops[0]);
        EXPECT_EQ(spec.Operator2.Str(), c.ops[1]);
    }
}

TEST(TitleFields, LongPhrasesAreCutToTheirFields) {
    TTitleFields f;
    f.Phrases = {std::string(50, 'a'), std::string(50, 'b'), std::string(50, 'c')};
    const t::TTitleSpec spec = ComposeTitle(f);
    EXPECT_EQ(spec.Operand1.Str(), std::string(40, 'a'));
    EXPECT_EQ(spec.Operand2.Str(), std::string(40, 'b'));
    EXPECT_EQ(spec.Text.Str().size(), 100u);
    EXPECT_EQ(spec.Text.Str(), std::string(50, 'a') + " and " + std::string(45, 'b'));
}

}  // namespace
}  // namespace kova::mainwindow::settings
