#pragma once
// The settings dialog's model: what its controls show when it opens, and what OK applies.
// Clicking a box changes nothing until OK.

#include <cstdint>

#include "resources/resource_ids.h"
#include "settings/conversion_flags.h"
#include "settings/settings.h"

namespace tvime {

// Control ids of the dialog.
enum SettingsControl : int {
  kCtlChinesePunct = IDC_SETTINGS_CHINESE_PUNCT,
  kCtlFullShape = IDC_SETTINGS_FULL_SHAPE,
  kCtlBigCharset = IDC_SETTINGS_BIG_CHARSET,
  kCtlSmallPanel = IDC_SETTINGS_SMALL_PANEL,
  kCtlSearchEngine = IDC_SETTINGS_SEARCH_ENGINE,
  kCtlStrokeKeys = IDC_SETTINGS_STROKE_KEYS,
  kCtlQuitConfirm = IDC_SETTINGS_QUIT_CONFIRM,
  kCtlPhraseSort = IDC_SETTINGS_PHRASE_SORT,
  kCtlMovedByCursor = IDC_SETTINGS_MOVED_BY_CURSOR,
  kCtlOpenWordCiba = IDC_SETTINGS_OPEN_WORD_CIBA,
  kCtlLearnChoices = IDC_SETTINGS_LEARN_CHOICES,
  kCtlPanelSize = IDC_SETTINGS_PANEL_SIZE,
  kCtlPredictNext = IDC_SETTINGS_PREDICT_NEXT,
};

// The sizes the stroke panel and the soft keyboards can have, in percent of their size at the
// monitor's scale, in the order the dialog lists them.
inline constexpr int kPanelSizes[] = {100, 125, 150, 200};
// A stored "PanelSize" as one of kPanelSizes: anything else is 100.
int ValidPanelSize(int percent);

// The options that live in the running session and the lexicon rather than only in the settings.
struct SessionOptions {
  bool* keyStrokes;
  bool* movedByCursor;
  bool* openWordCiba;
  int* phraseSortMode;  // the lexicon's copy; written back to "PhraseSortMode" on OK
  int* learnChoices;    // the lexicon's copy; written back to "LearnChoices" on OK
  bool* predictNext;    // the lexicon's copy; written back to "PredictNext" on OK
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
  int panelSize = 100;  // one of kPanelSizes
  bool predictNext = true;
};

SettingsDialogState LoadSettingsDialog(const Settings& settings, const ConversionFlags& flags,
                                       const SessionOptions& session);

// OK: the flags word becomes exactly the sum of the checked boxes (flags the dialog does not
// show, such as the soft keyboard's, are cleared) and is written at once; the other values are
// applied in the dialog's order.
void ApplySettingsDialog(const SettingsDialogState& state, Settings& settings,
                         ConversionFlags& flags, const SessionOptions& session);

}  // namespace tvime
