// Window-title expressions: matching and splitting typed text.
#include "tables/logic/titleexpr.h"

#include <gtest/gtest.h>

namespace kova::tables {
namespace {

TTitleSpec Spec(const std::string& a, const std::string& op1 = "", const std::string& b = "",
                const std::string& op2 = "", const std::string& c = "") {
    TTitleSpec s;
    s.Operand1 = a;
    s.Operator1 = op1;
    s.Operand2 = b;
    s.Operator2 = op2;
    s.Operand3 = c;
    return s;
}

TEST(MatchTitleExpression, Cases) {
    struct Case {
        TTitleSpec spec;
        const char* title;
        bool match;
    };
    const Case cases[] = {
        {Spec("*"), "", true},
        {Spec("*"), "anything", true},
        {Spec("Table"), "Table 5 - NL", true},
        {Spec("Table"), "table 5", false},                          // case-sensitive
        {Spec(""), "Table", false},                                  // empty operand never occurs
        {Spec("", "or", "Table"), "Table 1", true},
        {Spec("", "and", "Table"), "Table 1", false},
        {Spec("Table", "and not", "Tournament"), "Table 1", true},
        {Spec("Table", "and not", "Tournament"), "Tournament Table 1", false},
        {Spec("A", "or", "B", "and", "C"), "B C", true},             // (A or B) and C
        {Spec("A", "or", "B", "and", "C"), "A", false},
        {Spec("A", "and", "", "and", "C"), "A", false},              // operand 3 still applies
        {Spec("A", "and", "", "or", "C"), "C", true},
        {Spec("A", "and", "", "or", "C"), "A", true},
        {Spec("A", "and", "*"), "A", false},                         // "*" literal after operand 1
        {Spec("A", "and", "*"), "A *", true},
        {Spec("A", "xor", "B"), "A", true},                          // unknown operator: unchanged
        {Spec("A", " and not ", "B"), "A B", false},                 // stored with blanks
        {Spec("A", " or ", "B"), "B", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchTitleExpression(c.spec, c.title), c.match)
            << c.spec.Operand1.Str() << "|" << c.spec.Operator1.Str() << "|" << c.spec.Operand2.Str() << "|"
            << c.spec.Operator2.Str() << "|" << c.spec.Operand3.Str() << " on \"" << c.title << "\"";
    }
}

TEST(MatchClassPattern, Cases) {
    EXPECT_TRUE(MatchClassPattern("*", "PokerStarsTableFrameClass"));
    EXPECT_TRUE(MatchClassPattern("*", ""));
    EXPECT_TRUE(MatchClassPattern("TableFrame", "PokerStarsTableFrameClass"));
    EXPECT_FALSE(MatchClassPattern("tableframe", "PokerStarsTableFrameClass"));
    EXPECT_FALSE(MatchClassPattern("", "PokerStarsTableFrameClass"));
}

TEST(DecodeTitle, Cases) {
    struct Case {
        std::string text;
        const char *op1, *operator1, *op2, *operator2, *op3;
    };
    const std::string longText(60, 'L');
    const std::string forty(40, 'L');
    const Case cases[] = {
        {"Hold'em No Limit", "Hold'em No Limit", "", "", "", ""},
        {"Table and not Tournament", "Table", "and not", "Tournament", "", ""},
        {"P or Q and R", "P", "or", "Q", "and", "R"},
        {"P and Q and not R", "P", "and", "Q", "and not", "R"},
        {"P and Q or R and not S", "P", "and", "Q or R", "and not", "S"},
        {longText, forty.c_str(), "", "", "", ""},
        {"andor", "andor", "", "", "", ""},
    };
    for (const Case& c : cases) {
        TTitleSpec t;
        t.Text = c.text;
        t.Operand3 = "stale";
        DecodeTitle(t);
        EXPECT_EQ(t.Operand1.Str(), c.op1) << c.text;
        EXPECT_EQ(t.Operator1.Str(), c.operator1) << c.text;
        EXPECT_EQ(t.Operand2.Str(), c.op2) << c.text;
        EXPECT_EQ(t.Operator2.Str(), c.operator2) << c.text;
        EXPECT_EQ(t.Operand3.Str(), c.op3) << c.text;
        EXPECT_EQ(t.Text.Str(), c.text.substr(0, 100));
    }
}

TEST(DecodeTitle, SplitTextMatchesAsTyped) {
    TTitleSpec t;
    t.Text = "Table and not Play Money";
    DecodeTitle(t);
    EXPECT_TRUE(MatchTitleExpression(t, "Table 12 - $1/$2"));
    EXPECT_FALSE(MatchTitleExpression(t, "Table 12 - Play Money"));
}

}  // namespace
}  // namespace kova::tables
