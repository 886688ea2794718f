#include "update/update_server.h"

#include <gtest/gtest.h>

namespace tvime {
namespace {

TEST(UpdateServer, TheBuildsDefaultsPointNowhereUntilAnInstallationNamesItsServer) {
  MemorySettingsStore store;
  Settings settings(store);
  EXPECT_NE(UpdateBaseUrlOf(settings).find(".invalid/"), std::string::npos);
  EXPECT_NE(ProductSiteOf(settings).find(".invalid/"), std::string::npos);
  settings.Write(setting::UpdateBaseUrl, "https://example.org/tvime/updates");
  settings.Write(setting::ProductSite, "https://example.org/tvime/");
  EXPECT_EQ(UpdateBaseUrlOf(settings), "https://example.org/tvime/updates/");
  EXPECT_EQ(ProductSiteOf(settings), "https://example.org/tvime/");
  EXPECT_FALSE(store.ReadString(SettingsRoot::User, "UpdateBaseUrl"));  // the machine's value
}

}  // namespace
}  // namespace tvime
