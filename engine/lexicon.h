#pragma once
// The Lexicon: the one engine object of a process. It owns every dictionary, the user words and
// the learnt choices, and answers the searches the input session makes after every change of its
// input. The lists those searches fill and the association history are the session's own
// (CandidateLists); what the user chose in the settings reaches the lexicon as a value
// (LexiconOptions), so the engine knows nothing of where settings are kept.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/resources.h"
#include "engine/character_dictionary.h"
#include "engine/dictionary_file.h"
#include "engine/learnt_choices.h"
#include "engine/next_word_model.h"
#include "engine/panel_mode.h"
#include "engine/phrase_dictionary.h"
#include "engine/radical_group_dictionary.h"
#include "engine/user_words.h"

namespace tvime {

// The old-to-new numbering of the user words after they were replaced: candidates naming a user
// word keep naming the same word, and are dropped where the word is gone.
class UserWordRenumbering {
 public:
  UserWordRenumbering(std::span<const std::string> before, std::span<const std::string> after);
  void Apply(std::vector<CandidateId>& list) const;

 private:
  std::vector<std::int64_t> newNumberOf_;  // by old number; -1 where the word is gone
};

// The lists one input session fills by asking the lexicon, and its association history. The
// session owns them; a search fills only the lists it names.
struct CandidateLists {
  std::vector<CandidateId> mainList;         // characters of a stroke or radical search
  std::vector<std::uint16_t> secondaryList;  // radicals, or a radical group's links
  std::vector<CandidateId> assocList;        // follow-on words
  std::vector<std::string> contextHistory;   // the words last committed, newest last
  // Forgets everything; true when there was something to forget (a composition in progress).
  bool Clear();
};

// What the user chose that changes the lexicon's answers.
struct LexiconOptions {
  bool bigCharset = false;  // the large character set; else common characters only
  int phraseSortMode = 0;   // "PhraseSortMode": follow-on words shortest first
  int learnChoices = 0;     // "LearnChoices": chosen candidates move to the front
  // "PredictNext": follow-on words and the phrases of a one-character context are ranked by what
  // was written before the word they continue (the next-word model); off, the dictionary's order.
  bool predictNext = true;
};

// What the lexicon asks of the input session that uses it.
class LexiconClient {
 public:
  virtual ~LexiconClient() = default;
  // The dictionaries were (re)loaded: forget the lists and what is shown.
  virtual void ResetDisplayState() = 0;
  // Search again with the current input.
  virtual void RefreshCandidates() = 0;
  // The dictionaries are loaded: the panels' own resources (the pinyin table) come from the
  // lexicon's source from now on, each read when it is first needed.
  virtual void LoadPanelResources() = 0;
  // The user words were replaced (reread, or merged with the file on a save): candidates that
  // named user words are renumbered or gone, so what is shown must be laid out again.
  virtual void UserWordsChanged(const UserWordRenumbering& renumbering) { (void)renumbering; }
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
  // The options start as LexiconOptions{} until the session sets its own.
  explicit Lexicon(UserDataPathFn userDataPath);
  Lexicon(const Lexicon&) = delete;
  Lexicon& operator=(const Lexicon&) = delete;
  virtual ~Lexicon();

  // The first call loads the dictionaries of `resources`; later calls only have the session
  // forget its lists and refresh.
  void Initialize(const ResourceSource* resources);
  // Loads "words.bin", "extra.bin", "pianpang.bin", "phrase.bin" and "nextword.bin". A missing
  // or damaged resource leaves its dictionary empty or partial; start-up goes on. The next-word
  // model only reorders lists, so it is not needed for completeness.
  // The user words and learnt choices are read at their first use instead: most applications
  // that select the input method are never typed into, and the user-data folder lookup and the
  // two files took about a millisecond of every start under Wine.
  virtual bool LoadDictionaries();
  // Rereads "tvimeusr.txt" from the per-user data directory (other processes and the dictionary
  // manager change it); words added here and not yet saved stay in the list.
  virtual bool LoadUserWords();
  // Rereads "tvimelrn.txt", the choices learnt under "LearnChoices"; choices not yet saved stay.
  bool LoadLearntChoices();
  // The lock under which saves of the user files are serialized with other processes.
  void SetSaveLocker(FileSaveLocker locker) { saveLocker_ = locker; }

  void SetClient(LexiconClient* client) { client_ = client; }
  const LexiconOptions& options() const { return options_; }
  // The next searches answer with these options.
  void SetOptions(const LexiconOptions& options) { options_ = options; }

  // The character candidates of a stroke query into `list`.
  void CharactersByStrokes(std::string_view query, std::vector<CandidateId>& list) const;

  bool IsCommonChar(std::string_view character) const { return chars_.IsCommonChar(character); }
  CharIndex IndexOfChar(std::string_view character) const { return chars_.IndexOfChar(character); }
  std::string_view CodeOfChar(std::string_view character) const {
    return chars_.CodeOfChar(character);
  }
  std::string_view AnnotationOfChar(std::string_view character) const {
    return chars_.AnnotationOfChar(character);
  }
  std::string CodeOfIndex(CharIndex index) const { return std::string(chars_.CodeOfIndex(index)); }

  // --- Phrases and association ---
  std::span<const std::uint32_t> PhrasesStartingWith(std::string_view text) const {
    return phrases_.PhrasesStartingWith(text);
  }
  // The text of a phrase, or with kUserWordBit of user word (id & 0x7FFFFFFF); empty when absent.
  std::string_view CandidateText(CandidateId id) const;
  // Length in characters.
  size_t CandidateLength(CandidateId id) const;
  // Phrases among those of `characters` (the candidates of parts[0]) whose characters 1.. begin
  // with the later parts of a stroke query; at most 100. They come grouped by first character in
  // the order of `characters`; with "PredictNext" they are the most frequent of all instead, and
  // those that the next-word model saw follow the text `before` (the last word committed) come
  // first.
  std::vector<std::uint32_t> FindPhrasesByStrokes(std::span<const CandidateId> characters,
                                                  std::span<const std::string_view> parts,
                                                  std::string_view before = {}) const;
  // The same search over the phrases of `characters` (a start of mainList, for a planner that
  // needs no more), stopping at `limit` phrases (never more than 100).
  std::vector<std::uint32_t> FindPhrasesByStrokesAmong(std::span<const CandidateId> characters,
                                                       std::span<const std::string_view> parts,
                                                       size_t limit,
                                                       std::string_view before = {}) const;
  // Phrases that begin with `contextChar` and whose second character's code matches `query`;
  // with "PredictNext", ranked by what follows `contextChar` after the text `before`.
  std::vector<std::uint32_t> FindContextPhrasesByStrokes(std::string_view contextChar,
                                                         std::string_view query,
                                                         std::string_view before = {}) const;
  // True when a user word or a phrase strictly extends `key`.
  bool HasExtension(std::string_view key) const;
  // The follow-on words of `key` as association offers them: user words first, then phrases,
  // at most 400, shortest first when "PhraseSortMode" is on. With "PredictNext" the phrases are
  // ranked by how likely each continues `key` after the text `before` (the words committed
  // before it, as the session's history holds them); without a `before` the order is the
  // dictionary's.
  std::vector<CandidateId> AssociationsOf(std::string_view key, std::string_view before = {}) const;
  // The text committed just before `key` by a history whose last entries are `entryBefore` and
  // `lastEntry`, where `key` is the last entry or its end; empty when the history does not say.
  static std::string_view TextBefore(std::string_view lastEntry, std::string_view entryBefore,
                                     std::string_view key);
  // The same from the history itself (newest last).
  static std::string_view TextBefore(std::span<const std::string> history, std::string_view key);
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
  // grown into a longer known word or cleared. Rebuilds the lists' history and, in the
  // association and pinyin modes, their assocList.
  void UpdateAssociation(CandidateLists& lists, std::string& contextText, PanelMode mode) const;
  // Takes back the last association step; false when there is no history.
  bool StepBackAssociation(CandidateLists& lists, std::string& contextText, PanelMode mode) const;

  // --- Learning ("LearnChoices") ---
  // The user chose `text` (a character or a whole phrase) from a list. With learning on it moves
  // to the front of every list that holds it, and the learnt choices are saved at once; with
  // learning off nothing happens.
  void NoteChoice(std::string_view text);
  // Merges the choices made since the last save into "tvimelrn.txt" as it is now. False when
  // the file could not be read or written; the choices then stay pending for the next save.
  bool SaveLearntChoices();

  // --- Radicals ---
  // Fills the lists' secondaryList with the radical list entries whose code matches the input.
  void FindRadicalsByStrokes(std::string_view query, CandidateLists& lists) const;
  // Fills the lists' mainList with positions of characters in group `group` matching the strokes
  // typed after the radical, and their secondaryList with the group's matching radical links.
  void FindInRadicalGroup(size_t group, std::string_view query, CandidateLists& lists) const;
  size_t GroupCount() const { return radicalGroups_.GroupCount(); }
  // nullptr when the group or the position does not exist.
  const TextPair* PairOf(size_t group, size_t position) const;

  bool BigCharset() const { return options_.bigCharset; }

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
  // Takes a new list of user words (as read from the word file); the client renumbers the
  // candidates of its lists that name user words, and drops those whose word is gone.
  void ReplaceUserWords(std::vector<std::string> words);
  // Appends a word that CheckUserWord accepts (pending until the next save); false (and nothing
  // added) otherwise.
  bool AddUserWord(std::string_view text);

  // --- What was loaded, read-only ---
  const CharacterDictionary& characters() const { return chars_; }
  const PhraseDictionary& phrases() const { return phrases_; }
  const DictionaryFile& radicals() const { return radicals_; }
  const RadicalGroupDictionary& radicalGroups() const { return radicalGroups_; }
  const NextWordModel& nextWords() const { return nextWords_; }
  const std::vector<std::string>& userWords() const;
  // Where the dictionaries came from (the panels load their own resources from it too).
  const ResourceSource* resources() const { return resources_; }

 private:
  std::string DescribeCharIndex(std::uint32_t index) const;
  void RankByCharacterFrequency(const std::vector<TextPair>& pairs,
                                std::vector<std::uint32_t>& positions) const;
  bool PhraseMatchesParts(std::uint32_t index, std::span<const std::string_view> parts) const;
  void FindPhrasesByStrokesInto(std::span<const CandidateId> characters,
                                std::span<const std::string_view> parts, size_t cap,
                                std::vector<std::uint32_t>& found) const;
  void FindFrequentPhrasesByStrokesInto(std::span<const CandidateId> characters,
                                        std::span<const std::string_view> parts, size_t cap,
                                        std::vector<std::uint32_t>& found) const;
  // Puts the phrases that the next-word model saw follow `before` first, most often seen first.
  void RankPhrasesAfter(std::vector<std::uint32_t>& found, std::string_view before) const;
  // With "PredictNext", reorders phrases that all extend `key` by the next-word model's context
  // of `key` after `before`; stable, and no change where the model knows nothing.
  void RankByContext(std::span<CandidateId> phrases, std::string_view key,
                     std::string_view before) const;
  // With learning on, puts the learnt entries of a list first (LearntChoices::Promote).
  void PromoteLearntCharacters(std::vector<CandidateId>& list) const;
  void PromoteLearntCandidates(std::vector<CandidateId>& list) const;
  // The user's files as they are now, with what this process added and has not saved yet.
  std::vector<std::string> StoredUserWords() const;
  std::vector<std::string> StoredLearntChoices() const;
  void ReadUserWordsOnce() const;
  void ReadLearntChoicesOnce() const;

  CharacterDictionary chars_;
  RadicalGroupDictionary radicalGroups_;
  PhraseDictionary phrases_;
  DictionaryFile radicals_;
  NextWordModel nextWords_;
  mutable std::vector<std::string> userWords_;
  mutable bool userWordsRead_ = false;
  const ResourceSource* resources_ = nullptr;
  bool initialized_ = false;
  LexiconOptions options_;
  UserDataPathFn userDataPath_;
  FileSaveLocker saveLocker_ = nullptr;
  std::vector<std::string> unsavedUserWords_;
  mutable LearntChoices learnt_;
  mutable bool learntRead_ = false;
  std::vector<std::string> unsavedChoices_;
  LexiconClient* client_ = nullptr;
};

}  // namespace tvime
