// Number formatting and parsing with "." as the decimal separator whatever
// the user's locale, and printf-style Format for log lines. Window-free.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kova {

class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string IntToStr(std::int64_t v);
std::string IntToHex(std::uint64_t v, int digits);
// Decimal (leading "-" or "+") or hexadecimal with "$" / "0x"; blanks around
// the number are allowed. Out of int32 range fails.
bool TryStrToInt(const std::string& s, int& out);
int StrToInt(const std::string& s);  // throws EConvertError
int StrToIntDef(const std::string& s, int def);
bool TryStrToInt64(const std::string& s, std::int64_t& out);

// Shortest text with up to 15 significant digits: "0.5", "12", "1E20".
std::string FloatToStr(double v);
// Fixed notation with `digits` decimals: FloatToStrFixed(2.5, 2) == "2.50".
std::string FloatToStrFixed(double v, int digits);
// Accepts "." only (a "," is an error), an optional exponent, blanks around.
bool TryStrToFloat(const std::string& s, double& out);
double StrToFloat(const std::string& s);  // throws EConvertError
double StrToFloatDef(const std::string& s, double def);

// printf-style formatting into a std::string ("%d", "%s" with const char*,
// "%.2f" always with ".").
std::string Format(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

std::string Trim(const std::string& s);
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);

}  // namespace kova
