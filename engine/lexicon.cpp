#include "engine/lexicon.h"

#include <algorithm>

#include "base/gbk.h"

namespace tvime {
namespace {

// A word is converted into a buffer of this many UTF-16 units (its terminator included); a longer
// text is refused rather than cut.
constexpr size_t kUserWordUnits = 1024;

}  // namespace

UserWordRenumbering::UserWordRenumbering(std::span<const std::string> before,
                                         std::span<const std::string> after) {
  newNumberOf_.reserve(before.size());
  for (const std::string& word : before) {
    auto found = std::find(after.begin(), after.end(), word);
    newNumberOf_.push_back(found == after.end() ? -1 : found - after.begin());
  }
}

void UserWordRenumbering::Apply(std::vector<CandidateId>& list) const {
  std::erase_if(list, [&](CandidateId& id) {
    if (!(id & kUserWordBit)) return false;
    size_t number = id & ~kUserWordBit;
    if (number >= newNumberOf_.size() || newNumberOf_[number] < 0) return true;
    id = static_cast<CandidateId>(newNumberOf_[number]) | kUserWordBit;
    return false;
  });
}

bool CandidateLists::Clear() {
  bool held =
      !mainList.empty() || !secondaryList.empty() || !assocList.empty() || !contextHistory.empty();
  mainList.clear();
  secondaryList.clear();
  assocList.clear();
  contextHistory.clear();
  return held;
}

Lexicon::Lexicon(UserDataPathFn userDataPath) : userDataPath_(std::move(userDataPath)) {}

Lexicon::~Lexicon() = default;

void Lexicon::Initialize(const ResourceSource* resources) {
  resources_ = resources;
  if (client_) client_->ResetDisplayState();
  if (initialized_) {
    if (client_) client_->RefreshCandidates();
    return;
  }
  LoadDictionaries();
  if (client_) client_->RefreshCandidates();
  initialized_ = true;
  if (client_) client_->LoadPanelResources();
}

bool Lexicon::LoadDictionaries() {
  bool complete = chars_.LoadFromResource(resources_, kCharacterResource);
  complete &= radicalGroups_.LoadFromResource(resources_, kRadicalGroupResource);
  complete &= radicals_.LoadFromResource(resources_, kRadicalResource);
  complete &= phrases_.LoadFromResource(resources_, kPhraseResource);
  nextWords_.LoadFromResource(resources_, kNextWordResource);
  // The user's words and learnt choices are read at their first use.
  userWordsRead_ = false;
  learntRead_ = false;
  return complete;
}

std::vector<std::string> Lexicon::StoredLearntChoices() const {
  std::vector<std::string> texts;
  if (userDataPath_) ReadWordFile(userDataPath_(kLearntChoicesFileName), texts);
  return ApplyChoices(std::move(texts), unsavedChoices_);
}

bool Lexicon::LoadLearntChoices() {
  learntRead_ = false;
  ReadLearntChoicesOnce();
  return true;
}

void Lexicon::ReadLearntChoicesOnce() const {
  if (learntRead_) return;
  learntRead_ = true;
  learnt_.Replace(StoredLearntChoices());
}

void Lexicon::NoteChoice(std::string_view text) {
  if (options_.learnChoices == 0 || text.empty()) return;
  ReadLearntChoicesOnce();
  learnt_.Note(text);
  if (!userDataPath_) return;  // nowhere to keep them: learnt for this process only
  unsavedChoices_.emplace_back(text);
  SaveLearntChoices();
}

bool Lexicon::SaveLearntChoices() {
  if (!userDataPath_) return false;
  std::vector<std::string> merged;
  if (!MergeChoicesIntoFile(userDataPath_(kLearntChoicesFileName), unsavedChoices_, merged,
                            saveLocker_)) {
    return false;
  }
  unsavedChoices_.clear();
  learnt_.Replace(merged);
  learntRead_ = true;
  return true;
}

void Lexicon::PromoteLearntCharacters(std::vector<CandidateId>& list) const {
  if (options_.learnChoices == 0) return;
  ReadLearntChoicesOnce();
  learnt_.Promote(list, [this](CandidateId index) {
    return index < chars_.count ? std::string_view(chars_.EntryAt(index).text) : std::string_view();
  });
}

void Lexicon::PromoteLearntCandidates(std::vector<CandidateId>& list) const {
  if (options_.learnChoices == 0) return;
  ReadLearntChoicesOnce();
  learnt_.Promote(list, [this](CandidateId id) { return CandidateText(id); });
}

std::vector<std::string> Lexicon::StoredUserWords() const {
  std::vector<std::string> words;
  if (userDataPath_) ReadWordFile(userDataPath_(kUserWordFileName), words);
  for (const std::string& word : unsavedUserWords_) {
    if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(word);
  }
  return words;
}

bool Lexicon::LoadUserWords() {
  ReplaceUserWords(StoredUserWords());
  return true;
}

void Lexicon::ReadUserWordsOnce() const {
  if (userWordsRead_) return;
  userWordsRead_ = true;
  // Nothing shown can hold a user word before the first read, so there is nothing to renumber.
  userWords_ = StoredUserWords();
}

const std::vector<std::string>& Lexicon::userWords() const {
  ReadUserWordsOnce();
  return userWords_;
}

bool Lexicon::SaveUserWords() {
  if (!userDataPath_) return false;
  std::vector<std::string> merged;
  if (!MergeIntoWordFile(userDataPath_(kUserWordFileName), unsavedUserWords_, merged,
                         saveLocker_)) {
    return false;
  }
  unsavedUserWords_.clear();
  ReplaceUserWords(std::move(merged));
  return true;
}

void Lexicon::ReplaceUserWords(std::vector<std::string> words) {
  UserWordRenumbering renumbering(userWords_, words);
  userWords_ = std::move(words);
  userWordsRead_ = true;
  if (client_) client_->UserWordsChanged(renumbering);
}

void Lexicon::CharactersByStrokes(std::string_view query, std::vector<CandidateId>& list) const {
  chars_.FindByStrokes(query, options_.bigCharset, list);
  PromoteLearntCharacters(list);
}

std::string Lexicon::DescribeCharIndex(std::uint32_t index) const {
  if (index >= chars_.count) return {};
  const CharEntry entry = chars_.EntryAt(index);
  return std::string(entry.text) + ": " + entry.annotation + "|" + entry.code;
}

std::string Lexicon::DescribeCandidate(PanelMode mode, std::uint32_t value,
                                       const CandidateOrigin& origin) const {
  if (value & kUserWordBit) return {};
  switch (mode) {
    case ModeIdle:
    case ModeStrokes:
      return DescribeCharIndex(value);
    case ModeRadical:
    case ModeRadicalStrokes:
      if (const TextPair* pair = PairOf(origin.radicalGroup, value)) {
        return std::string(pair->first) + ": " + std::string(AnnotationOfChar(pair->first)) + "|" +
               pair->second;
      }
      return {};
    case ModePinyin:
      if (value < origin.pinyinChars.size()) return DescribeCharIndex(origin.pinyinChars[value]);
      return {};
    default:
      return {};
  }
}

Lexicon::UserWordCheck Lexicon::CheckUserWord(std::string_view text) const {
  std::u16string wide = GbkToUtf16(text);
  if (wide.size() < 2) return UserWordCheck::TooShort;
  if (wide.size() >= kUserWordUnits) return UserWordCheck::TooLong;
  if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
    return UserWordCheck::HasLineBreak;
  }
  const std::vector<std::string>& words = userWords();
  if (std::find(words.begin(), words.end(), text) != words.end()) {
    return UserWordCheck::KnownUserWord;
  }
  if (phrases_.Contains(text)) return UserWordCheck::KnownPhrase;
  return UserWordCheck::Accepted;
}

bool Lexicon::AddUserWord(std::string_view text) {
  if (CheckUserWord(text) != UserWordCheck::Accepted) return false;
  userWords_.emplace_back(text);
  unsavedUserWords_.emplace_back(text);
  return true;
}

}  // namespace tvime
