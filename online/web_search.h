#pragma once
// Web word search, apart from the browser: how a word goes into an address, and the addresses of
// the six search engines and of the product site's word explanation.

#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace tvime {

inline constexpr int kSearchEngineCount = 6;

// Every byte that is not an ASCII letter or digit becomes "%XX" (upper-case hexadecimal), the
// bytes of a double-byte character included.
std::string urlEncode(std::string_view bytes);

// The GBK word as UTF-8, then urlEncode.
std::string utf8UrlEncode(std::string_view gbk);

// The search page of engine `engine` (the "SearchEngine" setting, 0 to 5) for a GBK word, each
// engine with its own encoding of the word; nothing for any other engine number.
std::optional<std::string> SearchUrl(int engine, std::string_view gbkWord);

// The product site's explanation of a word: "netads/searchword.php?s=<word as UTF-8>&userid=<id>".
std::string WordExplanationUrl(std::string_view productSite, std::string_view gbkWord,
                               std::string_view userId);

// The page a search of a GBK word opens with the chosen engine ("SearchEngine"); nothing for an
// empty word or an engine number outside the six.
std::optional<std::string> EngineSearchPage(const Settings& settings, std::string_view gbkWord);

// The page a right click on a character or phrase opens: the product site's explanation when
// "OpenWordCiba" is on, else the chosen engine's search; nothing for an empty word.
std::optional<std::string> WordLookupPage(const Settings& settings, std::string_view productSite,
                                          std::string_view gbkWord);

}  // namespace tvime
