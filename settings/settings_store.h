#pragma once
// The settings seam: named integer and string values under a per-user or a per-machine root.
// On Windows these are registry values of one key; tests use an in-memory store.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tvime {

enum class SettingsRoot { User, Machine };

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // nullopt when the key or the value is missing or has another type.
  virtual std::optional<std::uint32_t> ReadInt(SettingsRoot root, std::string_view name) const = 0;
  virtual std::optional<std::string> ReadString(SettingsRoot root, std::string_view name) const = 0;
  // False when the value could not be written; callers of the system ignore failed writes.
  virtual bool WriteInt(SettingsRoot root, std::string_view name, std::uint32_t value) = 0;
  virtual bool WriteString(SettingsRoot root, std::string_view name, std::string_view text) = 0;
};

class MemorySettingsStore : public SettingsStore {
 public:
  std::optional<std::uint32_t> ReadInt(SettingsRoot root, std::string_view name) const override;
  std::optional<std::string> ReadString(SettingsRoot root, std::string_view name) const override;
  bool WriteInt(SettingsRoot root, std::string_view name, std::uint32_t value) override;
  bool WriteString(SettingsRoot root, std::string_view name, std::string_view text) override;

 private:
  using Key = std::pair<SettingsRoot, std::string>;
  std::map<Key, std::uint32_t> ints_;
  std::map<Key, std::string> strings_;
};

// Reads through to another store; once shielded, keeps every write in memory above it, so that
// the program goes on seeing its own changes while the other store is never written. The input
// method on the logon and lock screens runs as the system: nothing it does there may reach the
// registry.
class ShieldedSettingsStore : public SettingsStore {
 public:
  explicit ShieldedSettingsStore(SettingsStore& base, bool shielded = false)
      : base_(base), shielded_(shielded) {}
  void Shield() { shielded_ = true; }
  bool shielded() const { return shielded_; }

  std::optional<std::uint32_t> ReadInt(SettingsRoot root, std::string_view name) const override;
  std::optional<std::string> ReadString(SettingsRoot root, std::string_view name) const override;
  bool WriteInt(SettingsRoot root, std::string_view name, std::uint32_t value) override;
  bool WriteString(SettingsRoot root, std::string_view name, std::string_view text) override;

 private:
  SettingsStore& base_;
  bool shielded_;
  MemorySettingsStore written_;
};

}  // namespace tvime
