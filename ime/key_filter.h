#pragma once
// Which key strokes the input method takes and which pass to the application, and the Ctrl tap
// that switches the input method on and off. Portable: the module feeds it what the platform
// tells about the key and the input context.

#include <array>
#include <cstdint>
#include <optional>

namespace tvime {

enum class KeyTable { Idle, Composing, SoftKeyboard };

// The constant tables: 1 when the input method takes the virtual key.
const std::array<std::uint8_t, 256>& KeysTaken(KeyTable table);

struct KeyStroke {
  unsigned virtualKey = 0;
  bool release = false;   // bit 31 of the key data
  bool altHeld = false;   // bit 7 of the key state of VK_MENU
  bool ctrlHeld = false;  // bit 7 of the key state of VK_CONTROL
};

// The input context as the filter sees it.
struct ContextState {
  bool open = false;
  bool softKeyboardShown = false;
  bool composing = false;  // the composition string is not empty
};

enum class KeyVerdict {
  Pass,        // the key goes to the application
  Take,        // the input method translates it
  ToggleOpen,  // a lone Ctrl tap: switch the context open/closed; the Ctrl key still passes
};

// One per process. A Ctrl release toggles only when no other key was pressed while Ctrl was
// held, and never the first time a Ctrl release reaches the filter after loading.
class KeyFilter {
 public:
  // `context` is empty when the input context cannot be locked.
  KeyVerdict Filter(const KeyStroke& key, const std::optional<ContextState>& context);

 private:
  bool ctrlCombined_ = false;
  bool firstCtrlSkip_ = true;
};

}  // namespace tvime
