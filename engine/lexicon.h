#pragma once
// The Lexicon: the one engine object of a process. It owns every dictionary, the user words, the
// association history and the candidate lists, and answers the searches the input session makes
// after every change of its input.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/resources.h"
#include "engine/character_dictionary.h"
#include "engine/dictionary_file.h"
#include "engine/learnt_choices.h"
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
  // The user words were replaced (reread, or merged with the file on a save): candidates that
  // named user words are renumbered or gone, so what is shown must be laid out again.
  virtual void UserWordsChanged() {}
};

// What a hovered candidate's value refers to beyond the lexicon's own lists.
struct CandidateOrigin {
  size_t radicalGroup = 0;                      // the chosen radical, in the radical modes
  std::span<const CharIndex> pinyinChars = {};  // the pinyin character list, in ModePinyin
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
  // Rereads "tvimeusr.txt" from the per-user data directory (other processes and the dictionary
  // manager change it); words added here and not yet saved stay in the list.
  virtual bool LoadUserWords();
  // Rereads "tvimelrn.txt", the choices learnt under "LearnChoices"; choices not yet saved stay.
  bool LoadLearntChoices();
  // The lock under which saves of the user files are serialized with other processes.
  void SetSaveLocker(FileSaveLocker locker) { saveLocker_ = locker; }

  void SetClient(LexiconClient* client) { client_ = client; }
  // Forgets the lookup results and the history; true when there was something to forget (a
  // composition in progress).
  bool ClearLists();

  // Fills mainList with the character candidates of a stroke query. Returns true.
  bool FindByStrokes(std::string_view query);
  // The same list into `list`, leaving mainList as it is.
  void CharactersByStrokes(std::string_view query, std::vector<CandidateId>& list) const;

  bool IsCommonChar(std::string_view character) const { return chars.IsCommonChar(character); }
  CharIndex IndexOfChar(std::string_view character) const { return chars.IndexOfChar(character); }
  std::string_view CodeOfChar(std::string_view character) const {
    return chars.CodeOfChar(character);
  }
  std::string_view AnnotationOfChar(std::string_view character) const {
    return chars.AnnotationOfChar(character);
  }
  std::string CodeOfIndex(CharIndex index) const { return std::string(chars.CodeOfIndex(index)); }

  // --- Phrases and association ---
  std::span<const std::uint32_t> PhrasesStartingWith(std::string_view text) const {
    return phrases.PhrasesStartingWith(text);
  }
  // The text of a phrase, or with kUserWordBit of user word (id & 0x7FFFFFFF); empty when absent.
  std::string_view CandidateText(CandidateId id) const;
  // Length in characters.
  size_t CandidateLength(CandidateId id) const;
  // Phrases whose characters 1.. begin with the later parts of a stroke query (parts[0] has
  // already filled mainList); at most 100.
  std::vector<std::uint32_t> FindPhrasesByStrokes(std::span<const std::string_view> parts) const;
  // The same search over the phrases of `characters` (a start of mainList, for a planner that
  // needs no more), stopping at `limit` phrases (never more than 100).
  std::vector<std::uint32_t> FindPhrasesByStrokesAmong(std::span<const CandidateId> characters,
                                                       std::span<const std::string_view> parts,
                                                       size_t limit) const;
  // Phrases that begin with `contextChar` and whose second character's code matches `query`.
  std::vector<std::uint32_t> FindContextPhrasesByStrokes(std::string_view contextChar,
                                                         std::string_view query) const;
  // True when a user word or a phrase strictly extends `key`.
  bool HasExtension(std::string_view key) const;
  // The follow-on words of `key` as association offers them: user words first, then phrases,
  // at most 400, shortest first when "PhraseSortMode" is on.
  std::vector<CandidateId> AssociationsOf(std::string_view key) const;
  // What a commit of `chosen` makes of the association, worked out without changing anything:
  // the history's new last entry (`chosen`, or the previous last entry grown by it when together
  // they begin a longer known word), and the context text the session keeps (that entry while
  // something follows it in the association and pinyin modes, else empty).
  struct AssociationStep {
    std::string historyEntry;
    std::string contextText;
    bool grewLastEntry = false;
  };
  AssociationStep AssociationAfter(std::string_view lastHistoryEntry, std::string_view chosen,
                                   PanelMode mode) const;
  // After a commit: `contextText` is the session's context text (the committed word); it may be
  // grown into a longer known word or cleared. Rebuilds the history and, in the association and
  // pinyin modes, assocList.
  void UpdateAssociation(std::string& contextText, PanelMode mode);
  // Takes back the last association step; false when there is no history.
  bool StepBackAssociation(std::string& contextText, PanelMode mode);
  // Stores the phrase sort mode and writes it to "PhraseSortMode".
  void SetPhraseSortMode(int value);

  // --- Learning ("LearnChoices") ---
  // The user chose `text` (a character or a whole phrase) from a list. With learning on it moves
  // to the front of every list that holds it, and the learnt choices are saved at once; with
  // learning off nothing happens.
  void NoteChoice(std::string_view text);
  // Merges the choices made since the last save into "tvimelrn.txt" as it is now. False when
  // the file could not be read or written; the choices then stay pending for the next save.
  bool SaveLearntChoices();

  // --- Radicals ---
  // Fills secondaryList with the radical list entries whose code matches the input.
  bool FindRadicalsByStrokes(std::string_view query);
  // Fills mainList with positions of characters in group `group` matching the strokes typed
  // after the radical, and secondaryList with the group's matching radical links.
  bool FindInRadicalGroup(size_t group, std::string_view query);
  size_t GroupCount() const { return radicalGroups.GroupCount(); }
  // nullptr when the group or the position does not exist.
  const TextPair* PairOf(size_t group, size_t position) const;

  bool BigCharset() const { return flags_.Has(CS_BIG_CHARSET); }

  // The hint for a hovered candidate of the given mode; empty when there is none.
  std::string DescribeCandidate(PanelMode mode, std::uint32_t value,
                                const CandidateOrigin& origin = {}) const;

  // Merges the words added since the last save into the file as it is now (other processes may
  // have added, removed or reordered words since it was read) and takes the file's list as the
  // user words. False when the file could not be read or written; the added words then stay
  // pending for the next save.
  bool SaveUserWords();
  // Whether a text can become a user word, and if not, why.
  enum class UserWordCheck {
    Accepted,
    TooShort,       // fewer than two characters
    TooLong,        // 1,024 UTF-16 units or more
    HasLineBreak,   // a line end or NUL would split or cut it in the word file
    KnownUserWord,  // already one of the user's words
    KnownPhrase,    // already a phrase of the built-in dictionary
  };
  UserWordCheck CheckUserWord(std::string_view text) const;
  // Appends a word that CheckUserWord accepts (pending until the next save); false (and nothing
  // added) otherwise.
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
  int learnChoices = 0;  // "LearnChoices"; the settings dialog changes it in place
  bool initialized = false;

 private:
  std::string DescribeCharIndex(std::uint32_t index) const;
  void RankByCharacterFrequency(const std::vector<TextPair>& pairs,
                                std::vector<std::uint32_t>& positions) const;
  // Takes a new list of user words. Candidates of the lists that name user words are renumbered
  // to the same words in the new list, and dropped where a word is gone.
  void ReplaceUserWords(std::vector<std::string> words);
  void FindPhrasesByStrokesInto(std::span<const CandidateId> characters,
                                std::span<const std::string_view> parts, size_t cap,
                                std::vector<std::uint32_t>& found) const;
  // With learning on, puts the learnt entries of a list first (LearntChoices::Promote).
  void PromoteLearntCharacters(std::vector<CandidateId>& list) const;
  void PromoteLearntCandidates(std::vector<CandidateId>& list) const;

  Settings& settings_;
  const ConversionFlags& flags_;
  UserDataPathFn userDataPath_;
  FileSaveLocker saveLocker_ = nullptr;
  std::vector<std::string> unsavedUserWords_;
  LearntChoices learnt_;
  std::vector<std::string> unsavedChoices_;
  LexiconClient* client_ = nullptr;
};

}  // namespace tvime
