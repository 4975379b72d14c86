// The program's start, step by step, for finding where its time goes: with
// KOVA_STARTTRACE naming a file, each mark appends a line to it with the
// milliseconds since the process was created, the windows this thread has
// made so far, "V" once the main window is visible ("-" before) and the
// step's name; KOVA_STARTTRACE_WINDOWS set too adds a line for each window
// as it is made (its class, text and size). Without the variable a mark
// does nothing.
#pragma once

namespace kova::mainwindow {

void StartMark(const char* step);

}  // namespace kova::mainwindow
