// The one entry of user actions: each is turned into the session's operations here, so that no
// host repeats the session's reactions (which lists to forget, which flags flip).

#include "session/user_action.h"

#include "session/composition_panel.h"

namespace tvime {

ActionResult CompositionPanel::Apply(ContextHandle context, const UserAction& action) {
  ActionResult result;
  switch (action.kind) {
    case ActionKind::Mouse:
      result.mouse = Mouse(context, action.mouse, action.x, action.y);
      break;
    case ActionKind::CursorLeft:
      MouseLeft();
      break;
    case ActionKind::DragEnded:
      DragEnded();
      break;
    case ActionKind::Key:
      result.used = HandleKey(context, action.key);
      break;
    case ActionKind::Command:
      Command(context, action.command);
      break;
    case ActionKind::SoftKey:
      SoftKeyboardKey(context, action.virtualKey, action.shift);
      break;
    case ActionKind::InputClosed:
      ForgetLookup(context);
      break;
    case ActionKind::SoftKeyboardToggled:
      // The button closes a shown keyboard, else shows one over a panel that forgets its lookup.
      flags_.Toggle(CS_SOFT_KEYBOARD);
      if (!softKeyboard_.shown()) ForgetLookup(context);
      break;
    case ActionKind::PanelSizeToggled:
      flags_.Toggle(CS_SMALL_PANEL);
      ForgetLookup(context);
      break;
    case ActionKind::FlagsChanged:
      FlagsChanged(context, action.characterSetChanged);
      break;
    case ActionKind::UserWordsChanged:
      lexicon_.LoadUserWords();  // the lexicon has the shown lists laid out again
      break;
  }
  return result;
}

void CompositionPanel::ForgetLookup(ContextHandle context) {
  ClearLists();
  Refresh(context, false);
  Rehover();
}

}  // namespace tvime
