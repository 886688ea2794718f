#include "gui/event_trace_win.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace tvime {
namespace {

FILE* g_trace = nullptr;

}  // namespace

long long TraceClockMicroseconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<long long>(now.QuadPart / (frequency.QuadPart / 1000000.0));
}

void OpenEventTrace() {
  wchar_t path[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"TVIME_TRACE", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || g_trace) return;
  g_trace = _wfopen(path, L"ab");
}

void TraceEvent(std::string_view event, long long value) {
  if (!g_trace) return;
  std::fprintf(g_trace, "%lld %.*s %lld\n", TraceClockMicroseconds(),
               static_cast<int>(event.size()), event.data(), value);
  std::fflush(g_trace);
}

}  // namespace tvime
