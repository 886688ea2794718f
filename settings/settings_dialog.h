#pragma once
// The settings dialog's model: what its controls show when it opens, and what OK applies.
// Clicking a box changes nothing until OK.

#include <cstdint>

#include "settings/conversion_flags.h"
#include "settings/settings.h"

namespace tvime {

// Control ids of the dialog.
enum SettingsControl : int {
  kCtlChinesePunct = 1013,
  kCtlFullShape = 1012,
  kCtlBigCharset = 1023,
  kCtlSmallPanel = 1014,
  kCtlSearchEngine = 1000,
  kCtlStrokeKeys = 1002,
  kCtlQuitConfirm = 1005,
  kCtlPhraseSort = 1006,
  kCtlMovedByCursor = 1007,
  kCtlOpenWordCiba = 1008,
  kCtlLearnChoices = 1009,
};

// The options that live in the running session and the lexicon rather than only in the settings.
struct SessionOptions {
  bool* keyStrokes;
  bool* movedByCursor;
  bool* openWordCiba;
  int* phraseSortMode;  // the lexicon's copy; written back to "PhraseSortMode" on OK
  int* learnChoices;    // the lexicon's copy; written back to "LearnChoices" on OK
};

struct SettingsDialogState {
  bool chinesePunct = false;
  bool fullShape = false;
  bool bigCharset = false;
  bool smallPanel = false;
  int searchEngine = 0;
  bool keyStrokes = false;
  bool quitConfirm = true;
  bool phraseSort = false;
  bool movedByCursor = false;
  bool openWordCiba = true;
  bool learnChoices = false;
};

SettingsDialogState LoadSettingsDialog(const Settings& settings, const ConversionFlags& flags,
                                       const SessionOptions& session);

// OK: the flags word becomes exactly the sum of the checked boxes (flags the dialog does not
// show, such as the soft keyboard's, are cleared) and is written at once; the other values are
// applied in the dialog's order.
void ApplySettingsDialog(const SettingsDialogState& state, Settings& settings,
                         ConversionFlags& flags, const SessionOptions& session);

}  // namespace tvime
