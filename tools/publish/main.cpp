// tvime-publish: puts built programs into an update directory, as the update agent fetches them.
//   tvime-publish [--expires-in-days N | --expires-at SECONDS] KEY.pem DIRECTORY FILE...
//       each FILE with its manifest, its signature and its signed statement (which the programs
//       stop believing N days from now, or at the given time, when given)
//   tvime-publish --public-key KEY.pem        the key's public half, as TVIME_UPDATE_KEY_FILE holds
//   it

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "tools/publish/publisher.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--public-key") {
    auto key = tvime::PublicKeyOf(argv[2]);
    if (!key) {
      std::fprintf(stderr, "%s is not a P-256 private key\n", argv[2]);
      return 1;
    }
    for (std::uint8_t byte : *key) std::printf("%02x", byte);
    std::printf("\n");
    return 0;
  }
  // --expires-in-days N: the statements are believed for N days; --expires-at SECONDS: until
  // that time (seconds since 1970; the tests make statements that have expired).
  std::optional<std::int64_t> expires;
  int first = 1;
  if (argc > 2 &&
      (std::string(argv[1]) == "--expires-in-days" || std::string(argv[1]) == "--expires-at")) {
    bool days = std::string(argv[1]) == "--expires-in-days";
    char* end = nullptr;
    long long value = std::strtoll(argv[2], &end, 10);
    if (*argv[2] == '\0' || *end != '\0' || value <= 0 || (days && value > 3650)) {
      std::fprintf(stderr, "%s takes a positive number%s\n", argv[1],
                   days ? " of days up to 3650" : " of seconds since 1970");
      return 2;
    }
    expires = days ? static_cast<std::int64_t>(std::time(nullptr)) + value * 86400 : value;
    first = 3;
  }
  if (argc - first < 3) {
    std::fprintf(stderr,
                 "usage: %s [--expires-in-days N | --expires-at SECONDS] KEY.pem DIRECTORY FILE... "
                 "| --public-key KEY.pem\n",
                 argv[0]);
    return 2;
  }
  int failures = 0;
  for (int i = first + 2; i < argc; ++i) {
    std::string error = tvime::PublishFile(argv[i], argv[first + 1], argv[first], expires);
    if (!error.empty()) {
      std::fprintf(stderr, "%s\n", error.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
