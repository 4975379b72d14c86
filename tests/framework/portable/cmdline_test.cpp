#include "framework/portable/cmdline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kova {
namespace {

struct Case {
    const wchar_t* line;
    std::vector<std::wstring> args;
};

TEST(SplitCommandLine, FollowsTheSystemRules) {
    const Case cases[] = {
        {L"", {}},
        {L"kova.exe", {L"kova.exe"}},
        {L"\"C:\\Program Files\\kova.exe\"", {L"C:\\Program Files\\kova.exe"}},
        // The program's name takes no escapes: a backslash before its
        // closing quote stays.
        {L"\"C:\\dir\\\" a", {L"C:\\dir\\", L"a"}},
        {L"kova.exe  /acver\t/x ", {L"kova.exe", L"/acver", L"/x"}},
        {L"k \"a b\" c", {L"k", L"a b", L"c"}},
        {L"k a\"b c\"d", {L"k", L"ab cd"}},
        {L"k \"\"", {L"k", L""}},
        // Backslashes: literal unless before a quote; 2n give n and a
        // quote that opens or closes, 2n+1 give n and a literal quote.
        {L"k a\\b c\\\\d", {L"k", L"a\\b", L"c\\\\d"}},
        {L"k a\\\\\"b c\"", {L"k", L"a\\b c"}},
        {L"k a\\\"b", {L"k", L"a\"b"}},
        {L"k a\\\\\\\"b", {L"k", L"a\\\"b"}},
        {L"k \"a\\\\\" b", {L"k", L"a\\", L"b"}},
        // Two quotes inside a quoted part give one.
        {L"k \"a\"\"b\" c", {L"k", L"a\"b", L"c"}},
        // A quoted part left open runs to the end.
        {L"k \"a b", {L"k", L"a b"}},
    };
    for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.args) << std::wstring(c.line).size();
}

}  // namespace
}  // namespace kova
