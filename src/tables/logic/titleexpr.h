// Window-title expressions: up to three case-sensitive substrings joined
// left to right, without precedence, by "and", "or" or "and not".
#pragma once

#include <string_view>

#include "tables/model/variables.h"

namespace kova::tables {

// Operand1 "*" matches every title; elsewhere "*" is a literal character.
// An empty operand never occurs in a title. Operators are compared without
// surrounding blanks (the title dialog stores them as " and ").
bool MatchTitleExpression(TTitleSpec spec, std::string_view title);

// A group's window-class pattern: "*" matches every class, anything else
// must occur in the class name (case-sensitive); an empty pattern matches
// nothing.
bool MatchClassPattern(std::string_view pattern, std::string_view className);

// Splits title.Text into operands and operators (operators without blanks,
// operands cut to 40 characters); the other bytes of title stay.
void DecodeTitle(TTitleSpec& title);

}  // namespace kova::tables
