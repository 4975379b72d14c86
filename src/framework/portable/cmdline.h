// A command line split into its arguments by the rules the system's own
// splitter and the C runtime follow, so that the program can read its
// arguments without loading the shell library at start.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kova {

// The first argument is the program's name: up to the next quote when it
// starts with one, else up to the first space or tab; no escapes in it.
// In the others, spaces and tabs separate arguments outside quotes; 2n
// backslashes before a quote give n backslashes and the quote opens or
// closes a quoted part; 2n+1 give n backslashes and a literal quote; other
// backslashes are literal; inside a quoted part, two quotes give one
// literal quote. An empty line gives no arguments.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);

}  // namespace kova
