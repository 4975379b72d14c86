// Which addresses a web label may hand to the system to open: web and
// mail addresses only, never a program, a file or another scheme.
// Window-free.
#pragma once

#include <string>

namespace kova::skin {

bool IsOpenableWebAddress(const std::string& url);

}  // namespace kova::skin
