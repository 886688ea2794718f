// tvime-silent-server PORT_FILE SECONDS: a server that takes connections and never answers, for
// the end-to-end tests of what the programs do when the update server hangs. Writes its port
// into PORT_FILE and stays for SECONDS.

#include <winsock2.h>

#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "tests/support/silent_server_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tvime-silent-server PORT_FILE SECONDS\n");
    return 2;
  }
  tvime::testing::SilentServer server;
  if (server.port() == 0) return 1;
  FILE* file = _wfopen(argv[1], L"w");
  if (!file) return 1;
  std::fprintf(file, "%d\n", server.port());
  std::fclose(file);
  Sleep(static_cast<DWORD>(wcstoul(argv[2], nullptr, 10)) * 1000);
  return 0;
}
