#include "framework/portable/datetime.h"

#include "framework/portable/numformat.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace kova {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t yy = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

constexpr std::int64_t kDelta1970 = 25569;  // 1970-01-01 as a day number

// Milliseconds of the day of dt, rounded, and the day number.
void Split(TDateTime dt, std::int64_t& day, std::int64_t& msOfDay) {
    double whole = std::trunc(dt);
    double frac = std::fabs(dt - whole);
    std::int64_t ms = std::llround(frac * 86400000.0);
    day = static_cast<std::int64_t>(whole);
    if (ms >= 86400000) {
        // Rounding reached the next day (away from the epoch).
        ms -= 86400000;
        day += dt < 0 ? -1 : 1;
    }
    msOfDay = ms;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int dim = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= dim;
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
    if (!IsValidDate(year, month, day)) return false;
    out = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kDelta1970);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime r = 0;
    if (!TryEncodeDate(year, month, day, r)) throw EConvertError("Invalid argument to date encode");
    return r;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& out) {
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999) return false;
    out = (((hour * 60.0 + min) * 60.0 + sec) * 1000.0 + msec) / 86400000.0;
    return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    TDateTime r = 0;
    if (!TryEncodeTime(hour, min, sec, msec, r)) throw EConvertError("Invalid argument to time encode");
    return r;
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
    std::int64_t d = 0, ms = 0;
    Split(dt, d, ms);
    CivilFromDays(d - kDelta1970, year, month, day);
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec) {
    std::int64_t d = 0, ms = 0;
    Split(dt, d, ms);
    hour = static_cast<int>(ms / 3600000);
    min = static_cast<int>(ms / 60000 % 60);
    sec = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime dt) {
    std::int64_t d = 0, ms = 0;
    Split(dt, d, ms);
    // Day 0 (1899-12-30) was a Saturday.
    return static_cast<int>(((d % 7) + 7 + 6) % 7) + 1;
}

TDateTime Now() {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) +
           EncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec, ms);
}

TDateTime Date() { return std::trunc(Now()); }

double SecondsBetweenSigned(TDateTime a, TDateTime b) {
    return std::round((b - a) * 86400000.0) / 1000.0;
}

std::string FormatDateTime(const std::string& fmt, TDateTime dt) {
    int y, mo, d, h, mi, s, ms;
    DecodeDate(dt, y, mo, d);
    DecodeTime(dt, h, mi, s, ms);
    std::string out;
    char buf[16];
    for (size_t i = 0; i < fmt.size();) {
        auto starts = [&](const char* tok) { return fmt.compare(i, std::char_traits<char>::length(tok), tok) == 0; };
        if (fmt[i] == '"') {
            size_t e = fmt.find('"', i + 1);
            if (e == std::string::npos) e = fmt.size();
            out += fmt.substr(i + 1, e - i - 1);
            i = e + 1;
        } else if (starts("yyyy")) {
            std::snprintf(buf, sizeof buf, "%04d", y), out += buf, i += 4;
        } else if (starts("yy")) {
            std::snprintf(buf, sizeof buf, "%02d", y % 100), out += buf, i += 2;
        } else if (starts("mm")) {
            std::snprintf(buf, sizeof buf, "%02d", mo), out += buf, i += 2;
        } else if (starts("dd")) {
            std::snprintf(buf, sizeof buf, "%02d", d), out += buf, i += 2;
        } else if (starts("hh")) {
            std::snprintf(buf, sizeof buf, "%02d", h), out += buf, i += 2;
        } else if (starts("nn")) {
            std::snprintf(buf, sizeof buf, "%02d", mi), out += buf, i += 2;
        } else if (starts("ss")) {
            std::snprintf(buf, sizeof buf, "%02d", s), out += buf, i += 2;
        } else if (starts("zzz")) {
            std::snprintf(buf, sizeof buf, "%03d", ms), out += buf, i += 3;
        } else {
            out += fmt[i++];
        }
    }
    return out;
}

}  // namespace kova
