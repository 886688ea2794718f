#pragma once
// The Lexicon: the one engine object of a process. It owns every dictionary, the user words, the
// association history and the candidate lists, and answers the searches the input session makes
// after every change of its input.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/resources.h"
#include "engine/character_dictionary.h"
#include "engine/dictionary_file.h"
#include "engine/panel_mode.h"
#include "engine/phrase_dictionary.h"
#include "engine/radical_group_dictionary.h"
#include "engine/user_words.h"
#include "settings/conversion_flags.h"
#include "settings/settings.h"

namespace tvime {

// What the lexicon asks of the input session that uses it.
class LexiconClient {
 public:
  virtual ~LexiconClient() = default;
  // The candidate lists were emptied: forget what is shown.
  virtual void ResetDisplayState() = 0;
  // Search again with the current input.
  virtual void RefreshCandidates() = 0;
  // The dictionaries are loaded: load the panels' own resources (bitmaps, the pinyin table).
  virtual void LoadPanelResources() = 0;
};

inline constexpr size_t kMaxSecondaryCandidates = 100;
inline constexpr size_t kMaxAssociationCandidates = 400;
inline constexpr size_t kMaxContextHistory = 5;

class Lexicon {
 public:
  Lexicon(Settings& settings, const ConversionFlags& flags, UserDataPathFn userDataPath);
  Lexicon(const Lexicon&) = delete;
  Lexicon& operator=(const Lexicon&) = delete;
  virtual ~Lexicon();

  // The first call loads the dictionaries of `resources` and the user words; later calls only
  // clear the lists and have the session refresh.
  void Initialize(const ResourceSource* resources);
  // Loads "words.bin", "extra.bin", "pianpang.bin" and "phrase.bin", then the user words. A
  // missing or damaged resource leaves its dictionary empty or partial; start-up goes on.
  virtual bool LoadDictionaries();
  // Rereads "tvimeusr.txt" from the per-user data directory.
  virtual bool LoadUserWords();

  void SetClient(LexiconClient* client) { client_ = client; }
  void ClearLists();

  // Fills mainList with the character candidates of a stroke query. Returns true.
  bool FindByStrokes(std::string_view query);

  bool IsCommonChar(std::string_view character) const { return chars.IsCommonChar(character); }
  CharIndex IndexOfChar(std::string_view character) const { return chars.IndexOfChar(character); }
  std::string_view CodeOfChar(std::string_view character) const {
    return chars.CodeOfChar(character);
  }
  std::string_view AnnotationOfChar(std::string_view character) const {
    return chars.AnnotationOfChar(character);
  }
  std::string CodeOfIndex(CharIndex index) const { return std::string(chars.CodeOfIndex(index)); }

  // The hint for a hovered candidate of the given mode; empty when there is none.
  std::string DescribeCandidate(PanelMode mode, std::uint32_t value) const;

  // Stores the phrase sort mode and writes it to "PhraseSortMode".
  void SetPhraseSortMode(int value);

  bool SaveUserWords();
  // Appends a word of at least two characters that is neither a user word nor a built-in phrase.
  bool AddUserWord(std::string_view text);

  // Members in the order the engine has always kept them.
  CharacterDictionary chars;
  RadicalGroupDictionary radicalGroups;
  PhraseDictionary phrases;
  DictionaryFile radicals;
  std::vector<std::string> userWords;
  std::vector<std::string> contextHistory;
  std::vector<CandidateId> mainList;
  std::vector<std::uint16_t> secondaryList;
  std::vector<CandidateId> assocList;
  const ResourceSource* module = nullptr;
  int phraseSortMode = 0;
  bool initialized = false;

 private:
  std::string DescribeCharIndex(std::uint32_t index) const;

  Settings& settings_;
  const ConversionFlags& flags_;
  UserDataPathFn userDataPath_;
  LexiconClient* client_ = nullptr;
};

}  // namespace tvime
