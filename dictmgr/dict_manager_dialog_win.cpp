#include "dictmgr/dict_manager_dialog_win.h"

#include <commdlg.h>

#include <memory>
#include <vector>

#include "base/wide_text_win.h"
#include "dictmgr/user_dict_list.h"
#include "engine/user_words.h"

namespace tvime {
namespace {

std::wstring LoadText(HINSTANCE resources, int id) {
  const wchar_t* text = nullptr;
  int length = LoadStringW(resources, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

// File names and paths are ANSI, as the word files' functions take them.
std::string AnsiFromWide(const std::wstring& text) {
  int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return {};
  std::string ansi(static_cast<size_t>(bytes - 1), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

std::wstring WideFromAnsi(std::string_view ansi) {
  int units =
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(units > 0 ? units : 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), text.data(), units);
  return text;
}

std::optional<std::string> AskForFile(HWND owner, std::string_view proposedName, bool save) {
  // The filter's pairs, each part ending in NUL, the whole in two.
  static const wchar_t kFilter[] = L"词库文本文件(*.txt)\0*.txt\0所有文件(*.*)\0*.*\0";
  wchar_t path[MAX_PATH] = {};
  std::wstring proposed = WideFromAnsi(proposedName);
  proposed.copy(path, MAX_PATH - 1);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = L"txt";
  bool chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return AnsiFromWide(path);
}

// One running dialog.
class DictManagerDialog {
 public:
  explicit DictManagerDialog(const DictManagerSetup& setup) : setup_(setup) {}

  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lParam);
    auto* self = reinterpret_cast<DictManagerDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self) return FALSE;
    try {
      return self->Handle(window, message, wParam, lParam);
    } catch (...) {
      return FALSE;  // a failed action leaves the list as it was shown
    }
  }

 private:
  INT_PTR Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_INITDIALOG:
        window_ = window;
        Initialize();
        return TRUE;
      case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == kDictAboutCommand) {
          DialogBoxParamW(setup_.resources, MAKEINTRESOURCEW(kDictAboutDialogId), window, AboutProc,
                          0);
          return TRUE;
        }
        return FALSE;
      case WM_COMMAND:
        return Command(LOWORD(wParam), HIWORD(wParam));
      default:
        (void)lParam;
        return FALSE;
    }
  }

  static INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
      EndDialog(window, LOWORD(wParam));
      return TRUE;
    }
    return FALSE;
  }

  void Initialize() {
    HMENU system = GetSystemMenu(window_, FALSE);
    std::wstring about = LoadText(setup_.resources, kDictAboutMenuText);
    if (system && !about.empty()) {
      AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
      AppendMenuW(system, MF_STRING, kDictAboutCommand, about.c_str());
    }
    HICON big =
        static_cast<HICON>(LoadImageW(setup_.resources, MAKEINTRESOURCEW(kDictIcon), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    HICON small = static_cast<HICON>(LoadImageW(setup_.resources, MAKEINTRESOURCEW(kDictIcon),
                                                IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), 0));
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    CheckRadioButton(window_, kDictFirstFile, kDictSecondFile, kDictFirstFile);
    OpenFile(0);
  }

  std::string CurrentPath() const {
    return setup_.wordFilePath(kSelectableWordFiles[selectedFile_]);
  }

  void OpenFile(int selector) {
    selectedFile_ = selector;
    std::vector<std::string> words;
    ReadWordFile(CurrentPath(), words);
    loaded_ = words;
    list_.Open(std::move(words));
    Refill(-1);
  }

  HWND ListBox() const { return GetDlgItem(window_, kDictList); }

  int Selection() const { return static_cast<int>(SendMessageW(ListBox(), LB_GETCURSEL, 0, 0)); }

  // Shows the whole list again; a long list goes in without a repaint per word.
  void Refill(int select) {
    HWND box = ListBox();
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, LB_RESETCONTENT, 0, 0);
    const std::vector<std::string>& words = list_.words();
    SendMessageW(box, LB_INITSTORAGE, words.size(), words.size() * 16);
    for (const std::string& word : words) {
      SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromGbk(word).c_str()));
    }
    SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
  }

  int Tell(std::string_view text, UINT type = MB_OK) {
    return setup_.prompts->Message(window_, text, type);
  }

  std::string EditText() const {
    HWND edit = GetDlgItem(window_, kDictEdit);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return Utf16ToGbk(std::u16string(text.begin(), text.end()));
  }

  INT_PTR Command(int id, int notification) {
    switch (id) {
      case kDictList:
        if (notification == LBN_SELCHANGE) ShowSelectedWord();
        return TRUE;
      case kDictAdd:
        Add();
        return TRUE;
      case kDictDelete:
        if (auto refused = list_.Delete(Selection())) {
          Tell(*refused);
        } else {
          SendMessageW(ListBox(), LB_DELETESTRING, static_cast<WPARAM>(Selection()), 0);
        }
        return TRUE;
      case kDictMoveUp:
      case kDictMoveDown: {
        std::optional<int> moved =
            id == kDictMoveUp ? list_.MoveUp(Selection()) : list_.MoveDown(Selection());
        if (moved) {
          Refill(*moved);
        } else {
          Tell(manager_text::kSelectToMove);
        }
        return TRUE;
      }
      case kDictSave:
        Save();
        return TRUE;
      case kDictBackup:
        Backup();
        return TRUE;
      case kDictMerge:
        Merge();
        return TRUE;
      case kDictRestore:
        Restore();
        return TRUE;
      case kDictFirstFile:
      case kDictSecondFile:
        if (notification == BN_CLICKED) SwitchFile(id == kDictFirstFile ? 0 : 1);
        return TRUE;
      case IDOK:
      case IDCANCEL:
        // Escape and the close box ask as well: unsaved words are not thrown away unasked.
        if (list_.modified() &&
            Tell(manager_text::kExitQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
          SetFocus(GetDlgItem(window_, kDictSave));
          return TRUE;
        }
        EndDialog(window_, id);
        return TRUE;
      default:
        return FALSE;
    }
  }

  void ShowSelectedWord() {
    int selection = Selection();
    if (selection < 0 || static_cast<size_t>(selection) >= list_.words().size()) return;
    SetDlgItemTextW(window_, kDictEdit,
                    WideFromGbk(list_.words()[static_cast<size_t>(selection)]).c_str());
  }

  void Add() {
    int selection = Selection();
    if (auto refused = list_.AddTyped(EditText(), selection)) {
      bool empty = *refused == manager_text::kEnterWord;
      Tell(*refused, empty ? MB_OK : MB_OK | MB_ICONEXCLAMATION);
      if (empty) SetFocus(GetDlgItem(window_, kDictEdit));
      return;
    }
    int at = selection < 0 ? static_cast<int>(list_.words().size()) - 1 : selection;
    SendMessageW(
        ListBox(), LB_INSERTSTRING, static_cast<WPARAM>(selection < 0 ? -1 : at),
        reinterpret_cast<LPARAM>(WideFromGbk(list_.words()[static_cast<size_t>(at)]).c_str()));
  }

  void Save() {
    if (!list_.modified()) {
      Tell(manager_text::kNotModified);
      return;
    }
    std::vector<std::string> fileWords = loaded_;
    if (!SaveEditedWordFile(CurrentPath(), fileWords, list_.words(), setup_.locker)) {
      Tell(manager_text::kSaveFailed, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    loaded_ = fileWords;
    bool grew = fileWords.size() != list_.words().size();
    list_.Saved(std::move(fileWords));
    // Words that applications saved meanwhile are shown too.
    if (grew) Refill(Selection());
    Tell(manager_text::kSaved);
  }

  void Backup() {
    auto path = setup_.prompts->SaveFile(window_, kSelectableWordFiles[selectedFile_]);
    if (!path) return;
    if (WriteWordFile(*path, list_.words())) {
      Tell(manager_text::kBackedUp);
    } else {
      Tell(manager_text::kBackupFailed, MB_OK | MB_ICONEXCLAMATION);
    }
  }

  void Merge() {
    auto path = setup_.prompts->OpenFile(window_, kSelectableWordFiles[selectedFile_]);
    if (!path) return;
    std::vector<std::string> words;
    ReadWordFile(*path, words);
    if (list_.Merge(words) > 0) Refill(Selection());
    Tell(manager_text::kMerged);
  }

  void Restore() {
    if (Tell(manager_text::kRestoreQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    auto path = setup_.prompts->OpenFile(window_, kSelectableWordFiles[selectedFile_]);
    if (!path) return;
    std::vector<std::string> words;
    ReadWordFile(*path, words);
    list_.Restore(std::move(words));
    Refill(-1);
    Tell(manager_text::kRestored);
  }

  void SwitchFile(int selector) {
    if (selector == selectedFile_) return;
    if (list_.modified() &&
        Tell(manager_text::kSwitchQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
      SetFocus(GetDlgItem(window_, kDictSave));
      CheckRadioButton(window_, kDictFirstFile, kDictSecondFile, kDictFirstFile + selectedFile_);
      return;
    }
    OpenFile(selector);
  }

  const DictManagerSetup& setup_;
  HWND window_ = nullptr;
  UserDictList list_;
  std::vector<std::string> loaded_;  // the file's words when it was read or last saved
  int selectedFile_ = 0;
};

}  // namespace

int SystemPrompts::Message(HWND owner, std::string_view text, UINT type) {
  HINSTANCE program = GetModuleHandleW(nullptr);
  std::wstring title = LoadText(program, kDictTitleText);
  if (title.empty()) title = WideFromUtf8(manager_text::kTitle);
  return MessageBoxW(owner, WideFromUtf8(text).c_str(), title.c_str(), type);
}

std::optional<std::string> SystemPrompts::OpenFile(HWND owner, std::string_view proposedName) {
  return AskForFile(owner, proposedName, false);
}

std::optional<std::string> SystemPrompts::SaveFile(HWND owner, std::string_view proposedName) {
  return AskForFile(owner, proposedName, true);
}

INT_PTR RunDictManagerDialog(const DictManagerSetup& setup) {
  DictManagerDialog dialog(setup);
  return DialogBoxParamW(setup.resources, MAKEINTRESOURCEW(kDictManagerDialogId), nullptr,
                         DictManagerDialog::Proc, reinterpret_cast<LPARAM>(&dialog));
}

}  // namespace tvime
