#include "update/update_server.h"

namespace tvime {
namespace {

std::string WithSlash(std::string url) {
  if (!url.empty() && url.back() != '/') url += '/';
  return url;
}

}  // namespace

std::string UpdateBaseUrlOf(const Settings& settings) {
  std::string configured = settings.Read(setting::UpdateBaseUrl);
  return WithSlash(configured.empty() ? TVIME_UPDATE_BASE_URL : configured);
}

std::string ProductSiteOf(const Settings& settings) {
  std::string configured = settings.Read(setting::ProductSite);
  return WithSlash(configured.empty() ? TVIME_PRODUCT_SITE : configured);
}

}  // namespace tvime
