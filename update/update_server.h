#pragma once
// Where the update server and the product site are: the installation's settings when it names
// them ("UpdateBaseUrl", "ProductSite" under the local-machine key), else the build's defaults
// (the CMake variables TVIME_UPDATE_BASE_URL and TVIME_PRODUCT_SITE). An unconfigured build
// points at a name under ".invalid", so that it never contacts anyone.

#include <string>

#include "settings/settings.h"

namespace tvime {

// Ends in "/" (the base URL in "updates/").
std::string UpdateBaseUrlOf(const Settings& settings);
std::string ProductSiteOf(const Settings& settings);

}  // namespace tvime
