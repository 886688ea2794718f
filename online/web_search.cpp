#include "online/web_search.h"

#include <cstdio>

#include "base/gbk.h"

namespace tvime {
namespace {

struct SearchEngine {
  const char* before;  // the address up to the word
  bool utf8;           // the word as UTF-8 (else as its GBK bytes)
};

// The engines of the menu, in its order. Where an engine's Chinese site no longer exists, its
// current search page with the same parameters: Google's Chinese site is google.com.hk, Yahoo's
// search.yahoo.com, MSN's Bing. Engines given GBK are told so, or they would read it as UTF-8.
constexpr SearchEngine kEngines[kSearchEngineCount] = {
    {"https://www.baidu.com/s?ie=gbk&word=", false},
    {"https://www.google.com.hk/search?hl=zh-CN&q=", true},
    {"https://www.google.com/search?ie=UTF-8&hl=zh-CN&q=", true},
    {"https://www.sogou.com/web?ie=gbk&query=", false},
    {"https://search.yahoo.com/search?ei=gbk&p=", false},
    {"https://cn.bing.com/search?setlang=zh-CN&mkt=zh-CN&q=", true},
};

bool IsAsciiLetterOrDigit(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string urlEncode(std::string_view bytes) {
  std::string encoded;
  encoded.reserve(bytes.size() * 3);
  for (unsigned char c : bytes) {
    if (IsAsciiLetterOrDigit(c)) {
      encoded += static_cast<char>(c);
    } else {
      char escape[4];
      std::snprintf(escape, sizeof escape, "%%%02X", c);
      encoded += escape;
    }
  }
  return encoded;
}

std::string utf8UrlEncode(std::string_view gbk) { return urlEncode(GbkToUtf8(gbk)); }

std::optional<std::string> SearchUrl(int engine, std::string_view gbkWord) {
  if (engine < 0 || engine >= kSearchEngineCount) return std::nullopt;
  const SearchEngine& chosen = kEngines[engine];
  return chosen.before + (chosen.utf8 ? utf8UrlEncode(gbkWord) : urlEncode(gbkWord));
}

std::string WordExplanationUrl(std::string_view productSite, std::string_view gbkWord,
                               std::string_view userId) {
  return std::string(productSite) + "netads/searchword.php?s=" + utf8UrlEncode(gbkWord) +
         "&userid=" + std::string(userId);
}

std::optional<std::string> EngineSearchPage(const Settings& settings, std::string_view gbkWord) {
  if (gbkWord.empty()) return std::nullopt;
  return SearchUrl(settings.Read(setting::SearchEngine), gbkWord);
}

std::optional<std::string> WordLookupPage(const Settings& settings, std::string_view productSite,
                                          std::string_view gbkWord) {
  if (gbkWord.empty()) return std::nullopt;
  if (settings.Read(setting::OpenWordCiba) == 0) return EngineSearchPage(settings, gbkWord);
  return WordExplanationUrl(productSite, gbkWord, settings.Read(setting::UserId));
}

}  // namespace tvime
