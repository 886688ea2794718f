#include "online/web_search.h"

#include <gtest/gtest.h>

#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using testing::G;

TEST(UrlEncode, OnlyLettersAndDigitsStayEveryOtherByteIsEscaped) {
  EXPECT_EQ(urlEncode("a-b c"), "a%2Db%20c");
  EXPECT_EQ(urlEncode("AZaz09"), "AZaz09");
  EXPECT_EQ(urlEncode("._~%&="), "%2E%5F%7E%25%26%3D");
  EXPECT_EQ(urlEncode(std::string("\0\x7F\x80\xFF", 4)), "%00%7F%80%FF");
  EXPECT_EQ(urlEncode(G("中国")), "%D6%D0%B9%FA");            // the GBK bytes
  EXPECT_EQ(utf8UrlEncode(G("中国")), "%E4%B8%AD%E5%9B%BD");  // as UTF-8
  EXPECT_EQ(urlEncode(""), "");
}

TEST(SearchUrl, EachEngineGetsTheWordInItsEncodingAndNoOtherEngineExists) {
  EXPECT_EQ(SearchUrl(0, G("中国")), "https://www.baidu.com/s?ie=gbk&word=%D6%D0%B9%FA");
  EXPECT_EQ(SearchUrl(1, G("中国")),
            "https://www.google.com.hk/search?hl=zh-CN&q=%E4%B8%AD%E5%9B%BD");
  for (int engine = 2; engine < 6; ++engine) EXPECT_TRUE(SearchUrl(engine, G("中国"))) << engine;
  EXPECT_EQ(SearchUrl(6, G("中国")), std::nullopt);
  EXPECT_EQ(SearchUrl(-1, G("中国")), std::nullopt);
}

TEST(WordExplanationUrl, TheWordAsUtf8AndTheUserIdAsItIs) {
  EXPECT_EQ(WordExplanationUrl("http://www.tvime.invalid/", G("中国"), "{AB-12}"),
            "http://www.tvime.invalid/netads/searchword.php?s=%E4%B8%AD%E5%9B%BD&userid={AB-12}");
}

TEST(WordLookupPage, ExplanationOrTheChosenEngineAndNothingForNoWordOrNoEngine) {
  MemorySettingsStore store;
  Settings settings(store);
  settings.Write(setting::UserId, "{U}");
  // "OpenWordCiba" is on by default: the product site explains the word.
  EXPECT_EQ(WordLookupPage(settings, "http://site/", G("中")),
            "http://site/netads/searchword.php?s=%E4%B8%AD&userid={U}");
  settings.Write(setting::OpenWordCiba, 0);
  settings.Write(setting::SearchEngine, 3);
  EXPECT_EQ(WordLookupPage(settings, "http://site/", G("中")),
            "https://www.sogou.com/web?ie=gbk&query=%D6%D0");
  EXPECT_EQ(EngineSearchPage(settings, G("中")), WordLookupPage(settings, "http://site/", G("中")));
  EXPECT_EQ(WordLookupPage(settings, "http://site/", ""), std::nullopt);
  EXPECT_EQ(EngineSearchPage(settings, ""), std::nullopt);
  settings.Write(setting::SearchEngine, 6);
  EXPECT_EQ(EngineSearchPage(settings, G("中")), std::nullopt);
  EXPECT_EQ(WordLookupPage(settings, "http://site/", G("中")), std::nullopt);
}

}  // namespace
}  // namespace tvime
