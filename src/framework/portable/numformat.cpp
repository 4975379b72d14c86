#include "framework/portable/numformat.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace kova {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

std::string UpperCase(const std::string& s) {
    std::string r = s;
    for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return r;
}

std::string LowerCase(const std::string& s) {
    std::string r = s;
    for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

std::string IntToStr(std::int64_t v) { return std::to_string(v); }

std::string IntToHex(std::uint64_t v, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*llX", digits < 0 ? 0 : (digits > 16 ? 16 : digits),
                  static_cast<unsigned long long>(v));
    return buf;
}

bool TryStrToInt64(const std::string& text, std::int64_t& out) {
    std::string s = Trim(text);
    if (s.empty()) return false;
    bool neg = false;
    size_t i = 0;
    if (s[0] == '-' || s[0] == '+') {
        neg = s[0] == '-';
        i = 1;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    std::uint64_t u = 0;
    auto [p, ec] = std::from_chars(s.data() + i, s.data() + s.size(), u, base);
    if (ec != std::errc() || p != s.data() + s.size()) return false;
    if (base == 10) {
        if (!neg && u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return false;
        if (neg && u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1) return false;
        out = neg ? static_cast<std::int64_t>(0 - u) : static_cast<std::int64_t>(u);
    } else {
        // Hex spells a bit pattern: $FFFFFFFF is -1 as an int32.
        out = neg ? -static_cast<std::int64_t>(u) : static_cast<std::int64_t>(u);
    }
    return true;
}

bool TryStrToInt(const std::string& s, int& out) {
    std::int64_t v = 0;
    if (!TryStrToInt64(s, v)) return false;
    std::string t = Trim(s);
    bool hex = t.find('$') != std::string::npos || t.find("0x") != std::string::npos || t.find("0X") != std::string::npos;
    if (hex && v >= 0 && v <= 0xFFFFFFFFLL) v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
    out = static_cast<int>(v);
    return true;
}

int StrToInt(const std::string& s) {
    int v = 0;
    if (!TryStrToInt(s, v)) throw EConvertError("'" + s + "' is not a valid integer value");
    return v;
}

int StrToIntDef(const std::string& s, int def) {
    int v = 0;
    return TryStrToInt(s, v) ? v : def;
}

std::string FloatToStr(double v) {
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", v);
    std::string s = buf;
    // "%G" may use the C locale's separator; the program never changes it,
    // but a library might: force ".".
    for (char& c : s)
        if (c == ',') c = '.';
    // 1E+20 -> 1E20, 1E-05 -> 1E-5
    size_t e = s.find('E');
    if (e != std::string::npos) {
        std::string mant = s.substr(0, e), ex = s.substr(e + 1);
        bool neg = !ex.empty() && ex[0] == '-';
        if (!ex.empty() && (ex[0] == '+' || ex[0] == '-')) ex.erase(0, 1);
        while (ex.size() > 1 && ex[0] == '0') ex.erase(0, 1);
        s = mant + "E" + (neg ? "-" : "") + ex;
    }
    if (s == "-0") s = "0";
    return s;
}

std::string FloatToStrFixed(double v, int digits) {
    if (digits < 0) digits = 0;
    if (digits > 18) digits = 18;
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", digits, v);
    std::string s = buf;
    for (char& c : s)
        if (c == ',') c = '.';
    return s;
}

bool TryStrToFloat(const std::string& text, double& out) {
    std::string s = Trim(text);
    if (s.empty()) return false;
    const char* b = s.data();
    if (*b == '+') ++b;
    double v = 0;
    auto [p, ec] = std::from_chars(b, s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size()) return false;
    out = v;
    return true;
}

double StrToFloat(const std::string& s) {
    double v = 0;
    if (!TryStrToFloat(s, v)) throw EConvertError("'" + s + "' is not a valid floating point value");
    return v;
}

double StrToFloatDef(const std::string& s, double def) {
    double v = 0;
    return TryStrToFloat(s, v) ? v : def;
}

std::string Format(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    va_list ap2;
    va_copy(ap2, ap);
    int n = std::vsnprintf(nullptr, 0, fmt, ap);
    va_end(ap);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, ap2);
        out.resize(static_cast<size_t>(n));
    }
    va_end(ap2);
    return out;
}

}  // namespace kova
