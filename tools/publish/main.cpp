// tvime-publish: puts built programs into an update directory, as the update agent fetches them.
//   tvime-publish KEY.pem DIRECTORY FILE...   each FILE with its manifest and signature
//   tvime-publish --public-key KEY.pem        the key's public half, as TVIME_UPDATE_KEY_FILE holds
//   it

#include <cstdio>
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
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s KEY.pem DIRECTORY FILE... | --public-key KEY.pem\n", argv[0]);
    return 2;
  }
  int failures = 0;
  for (int i = 3; i < argc; ++i) {
    std::string error = tvime::PublishFile(argv[i], argv[2], argv[1]);
    if (!error.empty()) {
      std::fprintf(stderr, "%s\n", error.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
