#pragma once
// Every persistent option of the system, with its root, type and default, and typed accessors.
// Values are not cached: each read goes to the store, each change is written through at once.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace tvime {

struct IntSetting {
  std::string_view name;
  SettingsRoot root;
  std::int32_t defaultValue;
};

struct StringSetting {
  std::string_view name;
  SettingsRoot root;  // the default of every string value is the empty text
};

namespace setting {
using enum SettingsRoot;
inline constexpr IntSetting PinYinMode{"PinYinMode", User, 0};
inline constexpr IntSetting SearchMode{"SearchMode", User, 0};
inline constexpr IntSetting InputBihuaByKey{"InputBihuaByKey", User, 0};
inline constexpr StringSetting InputBihuaKeys{"InputBihuaKeys", User};
inline constexpr IntSetting MovedByCursor{"MovedByCursor", User, 0};
inline constexpr IntSetting OpenWordCiba{"OpenWordCiba", User, 1};
inline constexpr IntSetting ConversionSet{"ConversionSet", User, 4};
inline constexpr IntSetting QuitAppConfirm{"QuitAppConfirm", User, 1};
inline constexpr IntSetting PhraseSortMode{"PhraseSortMode", User, 0};
// 1: the characters and phrases the user chooses move up in their lists (off by default: stroke
// users rely on fixed positions).
inline constexpr IntSetting LearnChoices{"LearnChoices", User, 0};
// 1: follow-on words are ranked by what was written before the word they continue.
inline constexpr IntSetting PredictNext{"PredictNext", User, 1};
inline constexpr IntSetting SearchEngine{"SearchEngine", User, 0};
inline constexpr IntSetting CompPos{"CompPos", User, -1};
// The size of the stroke panel and the soft keyboards, in percent of their size at the
// monitor's scale: 100, 125, 150 or 200 (anything else reads as 100).
inline constexpr IntSetting PanelSize{"PanelSize", User, 100};
inline constexpr IntSetting Position{"Position", User, -1};
inline constexpr StringSetting UserId{"UserId", User};
inline constexpr IntSetting UserRegTime{"UserRegTime", User, 0};
inline constexpr IntSetting NoShowLicense{"NoShowLicense3.1", User, 0};
inline constexpr IntSetting NetAdsUpdate{"NetAds.Update", User, 0};
inline constexpr IntSetting GUIAppUpdate{"GUIApp.Update", User, 0};
inline constexpr IntSetting GUIAppUpdateDisableAuto{"GUIApp.UpdateDisableAuto", User, 0};
inline constexpr StringSetting Path{"Path", Machine};
inline constexpr IntSetting ExecUpdate{"Exec.Update", Machine, 0};
// Where an installation's updates and product pages are, when not where the build points.
inline constexpr StringSetting UpdateBaseUrl{"UpdateBaseUrl", Machine};
inline constexpr StringSetting ProductSite{"ProductSite", Machine};
}  // namespace setting

// The stroke keys used when "InputBihuaKeys" is not a valid five-key value.
inline constexpr std::string_view kDefaultStrokeKeys = "asdfgthn?'";

class Settings {
 public:
  explicit Settings(SettingsStore& store) : store_(store) {}

  std::int32_t Read(const IntSetting& value) const;
  std::string Read(const StringSetting& value) const;
  // Failed writes are ignored, as everywhere in the system.
  void Write(const IntSetting& value, std::int32_t number);
  void Write(const StringSetting& value, std::string_view text);

  // The same by name, for values that have no entry in the table.
  std::int32_t ReadInt(std::string_view name, std::int32_t defaultValue,
                       SettingsRoot root = SettingsRoot::User) const;
  void WriteInt(std::string_view name, std::int32_t number, SettingsRoot root = SettingsRoot::User);

  // "InputBihuaKeys" when it has exactly five keys, otherwise kDefaultStrokeKeys.
  std::string StrokeKeys() const;
  // "Path" of the machine root with a trailing backslash; empty when the program is not installed.
  std::string InstallDirectory() const;

 private:
  SettingsStore& store_;
};

// Window positions are stored as one value: top in the high 16 bits, left in the low 16 bits.
struct WindowPosition {
  int top;
  int left;
};
std::int32_t PackPosition(WindowPosition position);
// nullopt for -1, the value of a window that was never placed.
std::optional<WindowPosition> UnpackPosition(std::int32_t packed);

}  // namespace tvime
