#pragma once
// The mode of the input session; the lexicon reads it to describe a hovered candidate.

namespace tvime {

enum PanelMode : int {
  ModeOther = 0,           // input holds neither stroke codes nor digits
  ModeIdle = 1,            // nothing entered, nothing to associate
  ModeStrokes = 2,         // stroke codes entered
  ModeRadical = 3,         // a radical was chosen (input is only its number)
  ModeRadicalStrokes = 4,  // a radical was chosen and strokes typed after it
  ModeAssociation = 5,     // nothing entered; follow-on phrases of the previous word are offered
  ModeLetters = 7,         // the letter sub-panel is shown
  ModePunct = 8,           // the punctuation sub-panel is shown
  ModePinyin = 9,          // the pinyin sub-panel is shown
};

}  // namespace tvime
