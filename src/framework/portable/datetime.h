// Day-based date-times: whole days since 1899-12-30 plus the fraction of
// the day (a second is 1/86400). Window-free.
#pragma once

#include <cstdint>
#include <string>

namespace kova {

using TDateTime = double;

constexpr double OneHour = 1.0 / 24;
constexpr double OneMinute = 1.0 / 1440;
constexpr double OneSecond = 1.0 / 86400;
constexpr double OneMillisecond = 1.0 / 86400000;

bool IsValidDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
TDateTime EncodeDate(int year, int month, int day);  // throws EConvertError
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& out);
TDateTime EncodeTime(int hour, int min, int sec, int msec);  // throws EConvertError
// Negative values count back from 1899-12-30 with the time part taken as
// its absolute value (-1.25 is 1899-12-29 06:00).
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime dt);

TDateTime Now();   // local time
TDateTime Date();  // today, local
// Seconds between two times (may be negative), rounded to milliseconds.
double SecondsBetweenSigned(TDateTime a, TDateTime b);

// "yyyy-mm-dd hh:nn:ss.zzz" tokens: yyyy yy mm dd hh nn ss zzz; other
// characters are copied; text in double quotes is literal.
std::string FormatDateTime(const std::string& fmt, TDateTime dt);

}  // namespace kova
