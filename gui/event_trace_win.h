#pragma once
// A timing trace for measuring the way from a click on the panel to the text in the application.
// When the environment variable TVIME_TRACE names a file, events are appended to it as lines
// "<microseconds> <event> <value>", timed with QueryPerformanceCounter, the one clock every
// process of the machine shares. Without the variable nothing is written.

#include <string_view>

namespace tvime {

void OpenEventTrace();
void TraceEvent(std::string_view event, long long value = 0);
// The same clock, for programs that compare their times with the trace.
long long TraceClockMicroseconds();

}  // namespace tvime
