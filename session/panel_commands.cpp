// The commands whose effects are on the session and the settings. The rest are the host's.

#include "base/gbk.h"
#include "session/command_id.h"
#include "session/composition_panel.h"

namespace tvime {

void CompositionPanel::ToggleCharacterSet(ContextHandle context) {
  flags_.Toggle(CS_BIG_CHARSET);
  SyncLexiconOptions();
  ClearLists();
  Refresh(context, false);
  PanelChanged(context);
}

void CompositionPanel::FlagsChanged(ContextHandle context, bool characterSetChanged) {
  SyncLexiconOptions();
  if (characterSetChanged) {
    ClearLists();
    Refresh(context, false);
    PanelChanged(context);
  }
  host_.Invalidate(false);
  Rehover();
}

void CompositionPanel::SwitchPanel(ContextHandle context, PanelMode panel) {
  ClearInput(true);  // pending text waits for the next commit, whichever panel makes it
  state_.mode = state_.mode == panel ? ModeIdle : panel;
  Refresh(context, false);
  host_.Invalidate(true);
}

void CompositionPanel::SoftKeyboardKey(ContextHandle context, unsigned virtualKey, bool shift) {
  std::uint16_t code = softKeyboard_.translate(virtualKey, shift);
  if (code == kKeyBackspace) {
    // Pending text is the session's: Backspace takes back its last character first.
    if (state_.searchMode && !state_.pendingPhrase.empty()) {
      BarKey(context, 8);  // as the bar's Back: strokes first, and the lists follow
    } else {
      host_.ReturnKey(context, code);
    }
  } else if (code == kKeyEnter) {
    PassEnter(context);
  } else if (code != 0) {
    // A soft key is typed punctuation or a symbol: it ends the words before it, and what the
    // panel showed for them goes.
    std::string text = SoftKeyboard::CodeText(code);
    if (!IsWholeGbkText(text)) return;
    CommitSymbol(context, text);
  }
  Rehover();
}

void CompositionPanel::Command(ContextHandle context, int id) {
  if (id >= kCmdFirstSoftKeyboard && id <= kCmdLastSoftKeyboard) {
    // The session picks the table; showing the keyboard's window is the host's.
    softKeyboard_.SelectByCommand(id);
    host_.RunHostCommand(context, id);
    return;
  }
  switch (id) {
    case kCmdPrevPage:
      PagePrev();
      host_.Invalidate(false);
      break;
    case kCmdNextPage:
      PageNext();
      host_.Invalidate(false);
      break;
    // The buttons act on the input whatever the shape: typed with full shape on, the same keys
    // would become full-width text.
    case kCmdBack:
      BarKey(context, 8);
      host_.Invalidate(false);
      break;
    case kCmdClear:
      BarKey(context, 27);
      host_.Invalidate(false);
      break;
    case kCmdReturn:
      BarKey(context, 13);
      host_.Invalidate(false);
      break;
    case kCmdFullShape:
      bar_.SetIcon(kCmdFullShape,
                   flags_.Toggle(CS_FULL_SHAPE) ? kIconFullShapeOff : kIconFullShapeOn);
      host_.Invalidate(false);
      break;
    case kCmdChinesePunctuation:
      bar_.SetIcon(kCmdChinesePunctuation,
                   flags_.Toggle(CS_CHINESE_PUNCT) ? kIconChinesePunctOff : kIconChinesePunctOn);
      host_.Invalidate(false);
      break;
    case kCmdSearchMode:
      // Text chosen while searching is not lost when searching stops: it is sent.
      FlushPending(context);
      state_.searchMode = !state_.searchMode;
      settings_.Write(setting::SearchMode, state_.searchMode ? 1 : 0);
      Refresh(context, false);
      break;
    case kCmdCommonCharset:
      if (flags_.Has(CS_BIG_CHARSET)) ToggleCharacterSet(context);
      break;
    case kCmdBigCharset:
      if (!flags_.Has(CS_BIG_CHARSET)) ToggleCharacterSet(context);
      break;
    case kCmdPunctuation:
      SwitchPanel(context, ModePunct);
      break;
    case kCmdLetters:
      SwitchPanel(context, ModeLetters);
      break;
    case kCmdStrokeKeys:
      state_.keyStrokes = !state_.keyStrokes;
      settings_.Write(setting::InputBihuaByKey, state_.keyStrokes ? 1 : 0);
      break;
    case kCmdPinyinSwitch:
      ClearInput(true);
      state_.pinyinMode = !state_.pinyinMode;
      state_.mode = state_.pinyinMode ? ModePinyin : ModeIdle;
      settings_.Write(setting::PinYinMode, state_.pinyinMode ? 1 : 0);
      bar_.SetIcon(kCmdPinyinSwitch, state_.pinyinMode ? kIconPinyinOn : kIconPinyinOff);
      Refresh(context, false);
      host_.Invalidate(true);
      break;
    default:
      host_.RunHostCommand(context, id);
      break;
  }
  Rehover();
}

}  // namespace tvime
