// Which addresses a web label may hand to the system to open: web and
// mail addresses only, never a program, a file or another scheme; and the
// text a link window shows. Window-free.
#pragma once

#include <string>

namespace kova::skin {

bool IsOpenableWebAddress(const std::string& url);

// A link window's text as it is shown: every "<A>" and "</A>" left out
// (exactly so written), the words between them kept.
std::string StripLinkTags(std::string text);

}  // namespace kova::skin
