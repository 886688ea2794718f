#include "settings/settings_dialog.h"

#include <algorithm>
#include <iterator>

namespace tvime {

int ValidPanelSize(int percent) {
  return std::find(std::begin(kPanelSizes), std::end(kPanelSizes), percent) != std::end(kPanelSizes)
             ? percent
             : 100;
}

SettingsDialogState LoadSettingsDialog(const Settings& settings, const ConversionFlags& flags,
                                       const SessionOptions& session) {
  SettingsDialogState state;
  state.chinesePunct = flags.Has(CS_CHINESE_PUNCT);
  state.fullShape = flags.Has(CS_FULL_SHAPE);
  state.bigCharset = flags.Has(CS_BIG_CHARSET);
  state.smallPanel = flags.Has(CS_SMALL_PANEL);
  state.searchEngine = settings.Read(setting::SearchEngine);
  state.keyStrokes = *session.keyStrokes;
  state.quitConfirm = settings.Read(setting::QuitAppConfirm) != 0;
  state.phraseSort = *session.phraseSortMode != 0;
  state.movedByCursor = *session.movedByCursor;
  state.openWordCiba = *session.openWordCiba;
  state.learnChoices = *session.learnChoices != 0;
  state.panelSize = ValidPanelSize(settings.Read(setting::PanelSize));
  state.predictNext = *session.predictNext;
  return state;
}

void ApplySettingsDialog(const SettingsDialogState& state, Settings& settings,
                         ConversionFlags& flags, const SessionOptions& session) {
  std::uint16_t word = 0;
  if (state.chinesePunct) word |= CS_CHINESE_PUNCT;
  if (state.fullShape) word |= CS_FULL_SHAPE;
  if (state.bigCharset) word |= CS_BIG_CHARSET;
  if (state.smallPanel) word |= CS_SMALL_PANEL;
  flags.Assign(word);
  settings.Write(setting::SearchEngine, state.searchEngine);
  *session.keyStrokes = state.keyStrokes;
  settings.Write(setting::InputBihuaByKey, state.keyStrokes ? 1 : 0);
  settings.Write(setting::QuitAppConfirm, state.quitConfirm ? 1 : 0);
  *session.phraseSortMode = state.phraseSort ? 1 : 0;
  settings.Write(setting::PhraseSortMode, *session.phraseSortMode);
  *session.movedByCursor = state.movedByCursor;
  settings.Write(setting::MovedByCursor, state.movedByCursor ? 1 : 0);
  *session.openWordCiba = state.openWordCiba;
  settings.Write(setting::OpenWordCiba, state.openWordCiba ? 1 : 0);
  *session.learnChoices = state.learnChoices ? 1 : 0;
  settings.Write(setting::LearnChoices, *session.learnChoices);
  settings.Write(setting::PanelSize, ValidPanelSize(state.panelSize));
  *session.predictNext = state.predictNext;
  settings.Write(setting::PredictNext, state.predictNext ? 1 : 0);
}

}  // namespace tvime
