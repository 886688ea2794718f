// tvimetsf.dll registered, and activated by the Text Services Framework of Wine in a client with a
// text store of its own (needs a display and the Chinese locale). Wine routes no real keystrokes
// to a text service: the test plays the keystroke manager and calls the key sink the service
// advised.

#include <windows.h>

#include <gtest/gtest.h>
#include <msctf.h>
#include <textstor.h>

#include <iterator>
#include <string>

#include "base/exported_function_win.h"
#include "session/command_id.h"
#include "session/stroke_subpanel.h"
#include "settings/registry_settings_store_win.h"
#include "settings/settings.h"
#include "tests/support/panel_mouse_win.h"
#include "tests/support/program_folder_win.h"
#include "tests/support/updater_not_due_win.h"
#include "tsf/tsf_guids_win.h"

namespace tvime {
namespace {

constexpr wchar_t kZhong[] = L"\x4E2D";  // 中

std::wstring ServicePath() { return testing::ProgramFolderW() + L"tvimetsf.dll"; }

// The application's side of a document: its text and selection, locked for the framework on
// request, as an edit control that speaks TSF keeps them. Wine's framework reads no text, layout
// or attributes of a store: those are not offered.
class TextStore final : public ITextStoreACP {
 public:
  std::wstring text;
  LONG selectionStart = 0, selectionEnd = 0;
  HWND window = nullptr;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_ITextStoreACP)) {
      return E_NOINTERFACE;
    }
    *object = static_cast<ITextStoreACP*>(this);
    AddRef();
    return S_OK;
  }
  // Lives as long as the test suite.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  STDMETHODIMP AdviseSink(REFIID iid, IUnknown* unknown, DWORD) override {
    if (!IsEqualIID(iid, IID_ITextStoreACPSink)) return E_INVALIDARG;
    if (sink_) sink_->Release();
    return unknown->QueryInterface(IID_ITextStoreACPSink, reinterpret_cast<void**>(&sink_));
  }
  STDMETHODIMP UnadviseSink(IUnknown*) override {
    if (sink_) sink_->Release();
    sink_ = nullptr;
    return S_OK;
  }
  STDMETHODIMP RequestLock(DWORD flags, HRESULT* session) override {
    if (!sink_ || locked_) {
      *session = TS_E_SYNCHRONOUS;
      return S_OK;
    }
    locked_ = true;
    *session = sink_->OnLockGranted(flags & TS_LF_READWRITE);
    locked_ = false;
    return S_OK;
  }
  STDMETHODIMP GetStatus(TS_STATUS* status) override {
    status->dwDynamicFlags = 0;
    status->dwStaticFlags = TS_SS_NOHIDDENTEXT;
    return S_OK;
  }
  STDMETHODIMP QueryInsert(LONG, LONG, ULONG, LONG*, LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP GetSelection(ULONG, ULONG count, TS_SELECTION_ACP* selection,
                            ULONG* fetched) override {
    *fetched = 0;
    if (count == 0) return S_OK;
    selection->acpStart = selectionStart;
    selection->acpEnd = selectionEnd;
    selection->style.ase = TS_AE_END;
    selection->style.fInterimChar = FALSE;
    *fetched = 1;
    return S_OK;
  }
  STDMETHODIMP SetSelection(ULONG count, const TS_SELECTION_ACP* selection) override {
    if (count == 0) return E_INVALIDARG;
    selectionStart = selection->acpStart;
    selectionEnd = selection->acpEnd;
    return S_OK;
  }
  STDMETHODIMP GetText(LONG, LONG, WCHAR*, ULONG, ULONG*, TS_RUNINFO*, ULONG, ULONG*,
                       LONG*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP SetText(DWORD, LONG, LONG, const WCHAR*, ULONG, TS_TEXTCHANGE*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP GetFormattedText(LONG, LONG, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP GetEmbedded(LONG, REFGUID, REFIID, IUnknown**) override { return E_NOTIMPL; }
  STDMETHODIMP QueryInsertEmbedded(const GUID*, const FORMATETC*, WINBOOL*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP InsertEmbedded(DWORD, LONG, LONG, IDataObject*, TS_TEXTCHANGE*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP InsertTextAtSelection(DWORD flags, const WCHAR* chars, ULONG count, LONG* start,
                                     LONG* end, TS_TEXTCHANGE* change) override {
    if (flags & TS_IAS_QUERYONLY) {
      *start = selectionStart;
      *end = selectionEnd;
      return S_OK;
    }
    LONG at = selectionStart;
    text.replace(at, selectionEnd - at, reinterpret_cast<const wchar_t*>(chars), count);
    if (change) *change = {at, selectionEnd, at + static_cast<LONG>(count)};
    selectionStart = selectionEnd = at + static_cast<LONG>(count);
    if (start) *start = at;
    if (end) *end = selectionEnd;
    return S_OK;
  }
  STDMETHODIMP InsertEmbeddedAtSelection(DWORD, IDataObject*, LONG*, LONG*,
                                         TS_TEXTCHANGE*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP RequestSupportedAttrs(DWORD, ULONG, const TS_ATTRID*) override { return E_NOTIMPL; }
  STDMETHODIMP RequestAttrsAtPosition(LONG, ULONG, const TS_ATTRID*, DWORD) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP RequestAttrsTransitioningAtPosition(LONG, ULONG, const TS_ATTRID*, DWORD) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP FindNextAttrTransition(LONG, LONG, ULONG, const TS_ATTRID*, DWORD, LONG*, WINBOOL*,
                                      LONG*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP RetrieveRequestedAttrs(ULONG, TS_ATTRVAL*, ULONG*) override { return E_NOTIMPL; }
  STDMETHODIMP GetEndACP(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP GetActiveView(TsViewCookie*) override { return E_NOTIMPL; }
  STDMETHODIMP GetACPFromPoint(TsViewCookie, const POINT*, DWORD, LONG*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP GetTextExt(TsViewCookie, LONG, LONG, RECT*, WINBOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP GetScreenExt(TsViewCookie, RECT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetWnd(TsViewCookie, HWND*) override { return E_NOTIMPL; }

 private:
  ITextStoreACPSink* sink_ = nullptr;
  bool locked_ = false;
};

// Plays the keystroke manager: records the key sink the service advises with the framework's
// keystroke manager (whose own KeyDown Wine does not implement), and passes the call on.
struct KeySinkSpy {
  using AdviseFn = HRESULT(STDMETHODCALLTYPE*)(ITfKeystrokeMgr*, TfClientId, ITfKeyEventSink*,
                                               BOOL);
  static constexpr int kAdviseSlot = 3;  // after QueryInterface, AddRef, Release
  static constexpr int kSlots = 16;      // IUnknown and the thirteen methods of ITfKeystrokeMgr

  static HRESULT STDMETHODCALLTYPE Advise(ITfKeystrokeMgr* manager, TfClientId client,
                                          ITfKeyEventSink* sink, BOOL foreground) {
    HRESULT result = original(manager, client, sink, foreground);
    if (SUCCEEDED(result)) {
      advised = sink;
      sink->AddRef();
      advisedForeground = foreground;
    }
    return result;
  }

  // The manager's interface is a pointer to its table of methods: it gets a copy of the table
  // with the advice recorded.
  static void Install(ITfKeystrokeMgr* manager) {
    void**& table = *reinterpret_cast<void***>(manager);
    savedTable = table;
    for (int i = 0; i < kSlots; ++i) spyTable[i] = table[i];
    original = reinterpret_cast<AdviseFn>(table[kAdviseSlot]);
    spyTable[kAdviseSlot] = reinterpret_cast<void*>(&Advise);
    table = spyTable;
  }
  static void Remove(ITfKeystrokeMgr* manager) {
    if (savedTable) *reinterpret_cast<void***>(manager) = savedTable;
    savedTable = nullptr;
  }

  static inline AdviseFn original = nullptr;
  static inline void** savedTable = nullptr;
  static inline void* spyTable[kSlots] = {};
  static inline ITfKeyEventSink* advised = nullptr;
  static inline BOOL advisedForeground = FALSE;
};

// A new in-process object of the class, as the interface asked for.
template <typename Interface>
HRESULT Create(REFCLSID clsid, REFIID iid, Interface** object) {
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid,
                          reinterpret_cast<void**>(object));
}

bool ProfileEnabled() {
  ITfInputProcessorProfiles* profiles = nullptr;
  if (FAILED(Create(CLSID_TF_InputProcessorProfiles, IID_ITfInputProcessorProfiles, &profiles))) {
    return false;
  }
  bool listed = false;
  IEnumTfLanguageProfiles* list = nullptr;
  if (SUCCEEDED(profiles->EnumLanguageProfiles(kChineseSimplified, &list)) && list) {
    TF_LANGUAGEPROFILE profile;
    ULONG fetched = 0;
    while (list->Next(1, &profile, &fetched) == S_OK && fetched == 1) {
      if (IsEqualCLSID(profile.clsid, kTextServiceClsid) &&
          IsEqualGUID(profile.guidProfile, kTextServiceProfile)) {
        listed = true;
      }
    }
    list->Release();
  }
  BOOL enabled = FALSE;
  bool isEnabled = SUCCEEDED(profiles->IsEnabledLanguageProfile(
                       kTextServiceClsid, kChineseSimplified, kTextServiceProfile, &enabled)) &&
                   enabled;
  profiles->Release();
  return listed && isEnabled;
}

std::wstring ClassServer() {
  wchar_t clsid[40] = {};
  StringFromGUID2(kTextServiceClsid, clsid, 40);
  std::wstring key = L"CLSID\\" + std::wstring(clsid) + L"\\InprocServer32";
  wchar_t value[MAX_PATH] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  wchar_t model[32] = {};
  size = sizeof model;
  RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), L"ThreadingModel", RRF_RT_REG_SZ, nullptr, model,
               &size);
  return std::wstring(value) + L"|" + model;
}

HRESULT CallExport(HMODULE module, const char* name) {
  auto function = ExportedFunction<HRESULT(WINAPI*)()>(module, name);
  return function ? function() : E_NOINTERFACE;
}

class ComTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  static void TearDownTestSuite() { CoUninitialize(); }
};

using TextServiceRegistrationTest = ComTest;

TEST_F(TextServiceRegistrationTest, RegisteringListsTheChineseProfileAndUnregisteringRemovesIt) {
  HMODULE module = LoadLibraryW(ServicePath().c_str());
  ASSERT_TRUE(module);
  ASSERT_EQ(CallExport(module, "DllRegisterServer"), S_OK);
  EXPECT_TRUE(ProfileEnabled());
  EXPECT_EQ(ClassServer(), ServicePath() + L"|Apartment");
  // Registered again (an upgrade): still the one profile.
  ASSERT_EQ(CallExport(module, "DllRegisterServer"), S_OK);
  EXPECT_TRUE(ProfileEnabled());

  ASSERT_EQ(CallExport(module, "DllUnregisterServer"), S_OK);
  EXPECT_FALSE(ProfileEnabled());
  EXPECT_EQ(ClassServer(), L"");
  // Nothing left to remove is no failure.
  EXPECT_EQ(CallExport(module, "DllUnregisterServer"), S_OK);
  EXPECT_EQ(CallExport(module, "DllCanUnloadNow"), S_OK);  // nothing of it was used
  FreeLibrary(module);
}

TEST_F(TextServiceRegistrationTest, TheRegisteredClassDescribesThePendingTextsDisplayAttribute) {
  HMODULE module = LoadLibraryW(ServicePath().c_str());
  ASSERT_TRUE(module);
  ASSERT_EQ(CallExport(module, "DllRegisterServer"), S_OK);
  // As the framework gets it: a new object of the registered class, not activated.
  ITfDisplayAttributeProvider* provider = nullptr;
  ASSERT_HRESULT_SUCCEEDED(Create(kTextServiceClsid, IID_ITfDisplayAttributeProvider, &provider));
  IEnumTfDisplayAttributeInfo* list = nullptr;
  ASSERT_HRESULT_SUCCEEDED(provider->EnumDisplayAttributeInfo(&list));
  ITfDisplayAttributeInfo* infos[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(list->Next(2, infos, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  GUID guid{};
  ASSERT_HRESULT_SUCCEEDED(infos[0]->GetGUID(&guid));
  EXPECT_TRUE(IsEqualGUID(guid, kPendingTextAttribute));
  provider->Release();
  provider = nullptr;
  // An attribute still held keeps the module loaded.
  EXPECT_EQ(CallExport(module, "DllCanUnloadNow"), S_FALSE);
  infos[0]->Release();
  list->Release();
  EXPECT_EQ(CallExport(module, "DllCanUnloadNow"), S_OK);
  ASSERT_HRESULT_SUCCEEDED(Create(kTextServiceClsid, IID_ITfDisplayAttributeProvider, &provider));

  ITfDisplayAttributeInfo* info = nullptr;
  EXPECT_HRESULT_SUCCEEDED(provider->GetDisplayAttributeInfo(kPendingTextAttribute, &info));
  if (info) info->Release();
  EXPECT_HRESULT_FAILED(provider->GetDisplayAttributeInfo(kTextServiceProfile, &info));
  provider->Release();
  CallExport(module, "DllUnregisterServer");
  FreeLibrary(module);
}

// Activated on the secure desktop (the logon and lock screens) the service types and writes
// nothing: what the session changes stays in memory. The module's state
// is per process, so this needs a process of its own (CTest runs each test in one).
TEST_F(TextServiceRegistrationTest, OnTheSecureDesktopWhatTheSessionChangesStaysInMemory) {
  if (GetModuleHandleW(L"tvimetsf.dll")) GTEST_SKIP() << "the service already runs in this process";
  RegistrySettingsStore registry;
  Settings settings(registry);
  settings.Write(setting::PinYinMode, 0);
  HMODULE module = LoadLibraryW(ServicePath().c_str());
  ASSERT_TRUE(module);
  ASSERT_EQ(CallExport(module, "DllRegisterServer"), S_OK);
  ITfThreadMgr* threadMgr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(Create(CLSID_TF_ThreadMgr, IID_ITfThreadMgr, &threadMgr));
  TfClientId client = 0;
  ASSERT_HRESULT_SUCCEEDED(threadMgr->Activate(&client));
  // The framework's secure-mode activation, which Wine never makes: the test makes it.
  ITfTextInputProcessorEx* service = nullptr;
  ASSERT_HRESULT_SUCCEEDED(Create(kTextServiceClsid, IID_ITfTextInputProcessorEx, &service));
  ASSERT_HRESULT_SUCCEEDED(service->ActivateEx(threadMgr, client, TF_TMAE_SECUREMODE));
  HWND panel = FindWindowW(L"TavrinTSF3_COMP", nullptr);
  ASSERT_TRUE(panel) << "no display: these tests need an X server (DISPLAY)";

  SendMessageW(panel, WM_COMMAND, kCmdPinyinSwitch, 0);
  EXPECT_EQ(settings.Read(setting::PinYinMode), 0) << "a setting reached the registry";
  SendMessageW(panel, WM_COMMAND, kCmdPinyinSwitch, 0);

  service->Deactivate();
  service->Release();
  threadMgr->Deactivate();
  threadMgr->Release();
  CallExport(module, "DllUnregisterServer");
}

// A client of the framework, as a TSF-aware editor is: the service is activated for its thread
// with the Chinese profile, and types into the client's store.
class TextServiceTest : public ComTest {
 protected:
  static void SetUpTestSuite() {
    ComTest::SetUpTestSuite();
    testing::NoteUpdaterRunJustNow();
    settings.Write(setting::InputBihuaByKey, 1);  // a s d f g are 横 竖 撇 点 折
    settings.Write(setting::PinYinMode, 0);
    settings.Write(setting::SearchMode, 0);
    settings.Write(setting::MovedByCursor, 1);  // the panel follows the caret after a click
    module = LoadLibraryW(ServicePath().c_str());
    ASSERT_TRUE(module);
    ASSERT_EQ(CallExport(module, "DllRegisterServer"), S_OK);

    // The thread's manager, then the profile, then the manager's activation: Wine activates a
    // profile only for a thread that has a manager, and its keystroke manager refuses the
    // service's key sink when the profile is activated after the manager.
    ASSERT_HRESULT_SUCCEEDED(Create(CLSID_TF_ThreadMgr, IID_ITfThreadMgr, &threadMgr));
    ASSERT_HRESULT_SUCCEEDED(
        Create(CLSID_TF_InputProcessorProfiles, IID_ITfInputProcessorProfiles, &profiles));
    ASSERT_HRESULT_SUCCEEDED(profiles->ActivateLanguageProfile(
        kTextServiceClsid, kChineseSimplified, kTextServiceProfile));
    ASSERT_HRESULT_SUCCEEDED(
        threadMgr->QueryInterface(IID_ITfKeystrokeMgr, reinterpret_cast<void**>(&keystrokes)));
    KeySinkSpy::Install(keystrokes);

    store.window = CreateWindowExW(0, L"STATIC", L"editor", WS_OVERLAPPEDWINDOW, 10, 10, 300, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(store.window) << "no display: these tests need an X server (DISPLAY)";
    ASSERT_HRESULT_SUCCEEDED(threadMgr->Activate(&clientId));
    ASSERT_HRESULT_SUCCEEDED(threadMgr->CreateDocumentMgr(&document));
    TfEditCookie storeCookie = 0;
    ASSERT_HRESULT_SUCCEEDED(document->CreateContext(
        clientId, 0, static_cast<ITextStoreACP*>(&store), &context, &storeCookie));
    ASSERT_HRESULT_SUCCEEDED(document->Push(context));
    HWND beforeFocus = FindWindowW(L"TavrinTSF3_COMP", nullptr);
    shownBeforeFocus = beforeFocus && IsWindowVisible(beforeFocus);
    ASSERT_HRESULT_SUCCEEDED(threadMgr->SetFocus(document));
    composition = FindWindowW(L"TavrinTSF3_COMP", nullptr);
  }

  static void TearDownTestSuite() {
    if (KeySinkSpy::advised) KeySinkSpy::advised->Release();
    KeySinkSpy::advised = nullptr;
    if (document) {
      document->Pop(TF_POPF_ALL);
      document->Release();
    }
    if (context) context->Release();
    if (threadMgr) threadMgr->Deactivate();
    if (keystrokes) {
      KeySinkSpy::Remove(keystrokes);
      keystrokes->Release();
    }
    if (threadMgr) threadMgr->Release();
    if (profiles) profiles->Release();
    if (module) CallExport(module, "DllUnregisterServer");
    if (store.window) DestroyWindow(store.window);
    settings.Write(setting::InputBihuaByKey, 0);
    settings.Write(setting::PinYinMode, 0);
    settings.Write(setting::SearchMode, 0);
    settings.Write(setting::MovedByCursor, 0);
    ComTest::TearDownTestSuite();
  }

  void SetUp() override {
    ASSERT_TRUE(composition) << "the service made no panel";
    ASSERT_TRUE(KeySinkSpy::advised) << "the service advised no key sink";
    store.text.clear();
    store.selectionStart = store.selectionEnd = 0;
    SendMessageW(composition, WM_COMMAND, kCmdClear, 0);
  }

  // A click on the panel at a point of its client area, as the disabled panel sees it.
  static void Click(int x, int y) { testing::PointAndSend(composition, {x, y}); }
  static void ClickStroke(int stroke) {
    Rect button = StrokeButtonRect(stroke);
    Click((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  }

  // One key press through the service's key sink, as the keystroke manager makes it: the test
  // first, then the key itself when the service takes it. Whether the key was eaten.
  static bool Press(WPARAM key) {
    ITfKeyEventSink* sink = KeySinkSpy::advised;
    BOOL eaten = FALSE;
    EXPECT_EQ(sink->OnTestKeyDown(context, key, 1, &eaten), S_OK);
    if (!eaten) return false;
    EXPECT_EQ(sink->OnKeyDown(context, key, 1, &eaten), S_OK);
    BOOL released = TRUE;
    sink->OnTestKeyUp(context, key, static_cast<LPARAM>(0xC0000001u), &released);
    EXPECT_FALSE(released) << "releases pass";
    return eaten != FALSE;
  }

  static inline RegistrySettingsStore registry;
  static inline Settings settings{registry};
  static inline HMODULE module = nullptr;
  static inline ITfInputProcessorProfiles* profiles = nullptr;
  static inline ITfThreadMgr* threadMgr = nullptr;
  static inline ITfKeystrokeMgr* keystrokes = nullptr;
  static inline ITfDocumentMgr* document = nullptr;
  static inline ITfContext* context = nullptr;
  static inline TfClientId clientId = 0;
  static inline TextStore store;
  static inline HWND composition = nullptr;
  static inline bool shownBeforeFocus = true;
};

TEST_F(TextServiceTest, ActivatedItShowsItsPanelsWithAFocusedDocumentAndTakesTheKeys) {
  // The panel waits for a document to have the focus.
  EXPECT_FALSE(shownBeforeFocus);
  EXPECT_TRUE(IsWindowVisible(composition));
  EXPECT_NE(GetForegroundWindow(), composition);
  EXPECT_TRUE(FindWindowW(L"TavrinTSF3_STATUS", nullptr));
  EXPECT_TRUE(KeySinkSpy::advisedForeground);
  // The keyboard is open, as the framework's compartment says.
  ITfCompartmentMgr* compartments = nullptr;
  ASSERT_HRESULT_SUCCEEDED(
      threadMgr->QueryInterface(IID_ITfCompartmentMgr, reinterpret_cast<void**>(&compartments)));
  ITfCompartment* openClose = nullptr;
  ASSERT_HRESULT_SUCCEEDED(compartments->GetCompartment(kCompartmentKeyboardOpenClose, &openClose));
  VARIANT value;
  VariantInit(&value);
  ASSERT_HRESULT_SUCCEEDED(openClose->GetValue(&value));
  EXPECT_EQ(value.vt, VT_I4);
  EXPECT_EQ(value.lVal, 1);

  // Closed from outside (the language bar): keys pass, and open again they are taken.
  value.lVal = 0;
  ASSERT_HRESULT_SUCCEEDED(openClose->SetValue(clientId, &value));
  EXPECT_FALSE(Press('S'));
  value.lVal = 1;
  ASSERT_HRESULT_SUCCEEDED(openClose->SetValue(clientId, &value));
  EXPECT_TRUE(Press('S'));
  openClose->Release();
  compartments->Release();
}

// Wine's contexts have no view (GetActiveView is a stub), so the text's extent is not asked for
// here: after a click the panel follows the editor's system caret, the service's fallback.
TEST_F(TextServiceTest, ClicksTypeZhongIntoTheDocumentAndTheyPutThePanelBelowTheEditorsCaret) {
  ShowWindow(store.window, SW_SHOW);
  SetForegroundWindow(store.window);
  ASSERT_TRUE(CreateCaret(store.window, nullptr, 2, 16));
  SetCaretPos(50, 20);
  ShowCaret(store.window);
  POINT caret{50, 20};
  ClientToScreen(store.window, &caret);
  RECT before, after;
  GetWindowRect(composition, &before);
  for (int stroke : {1, 4, 0, 1}) ClickStroke(stroke);  // 竖 折 横 竖
  GetWindowRect(composition, &after);
  EXPECT_EQ(store.text, L"");  // strokes are not text
  Click(16, 40);               // the first candidate
  DestroyCaret();
  ShowWindow(store.window, SW_HIDE);
  EXPECT_EQ(store.text, kZhong);
  EXPECT_EQ(store.selectionStart, 1);  // the caret after it
  EXPECT_EQ(store.selectionEnd, 1);
  EXPECT_EQ(after.left, before.left);  // only the vertical place follows the caret
  EXPECT_GT(after.top, caret.y);       // a line and a half below the caret's top
  EXPECT_LT(after.top, caret.y + 40);
}

TEST_F(TextServiceTest, StrokeKeysThroughTheKeySinkAreEatenAndKeysHandedBackAreNot) {
  // Enter and Backspace with no input: the application gets them.
  EXPECT_FALSE(Press(VK_RETURN));
  EXPECT_FALSE(Press(VK_BACK));
  for (WPARAM key : {'S', 'G', 'A', 'S'}) EXPECT_TRUE(Press(key)) << static_cast<char>(key);
  // With strokes typed, Backspace takes one back instead.
  EXPECT_TRUE(Press(VK_BACK));
  EXPECT_TRUE(Press('S'));
  EXPECT_EQ(store.text, L"");
  Click(16, 40);
  EXPECT_EQ(store.text, kZhong);
  // Keys the input method never takes are not eaten.
  for (WPARAM key : {VK_F1, VK_TAB, VK_LEFT}) EXPECT_FALSE(Press(key)) << key;
}

TEST_F(TextServiceTest, PinyinLettersAndADigitTypeTheCharacterThroughTheKeySink) {
  SendMessageW(composition, WM_COMMAND, kCmdPinyinSwitch, 0);
  for (char key : std::string("ZHONG1")) EXPECT_TRUE(Press(static_cast<WPARAM>(key))) << key;
  SendMessageW(composition, WM_COMMAND, kCmdPinyinSwitch, 0);
  EXPECT_EQ(store.text, kZhong);
}

// The keystroke manager reports the Ctrl release the service preserved; the test sets the
// thread's key state for a key pressed while Ctrl is held.
TEST_F(TextServiceTest, ALoneCtrlTapSwitchesTheInputMethodAndCtrlWithAnotherKeyDoesNot) {
  TF_PRESERVEDKEY ctrl{VK_CONTROL, TF_MOD_ON_KEYUP};
  BOOL preserved = FALSE;
  ASSERT_EQ(keystrokes->IsPreservedKey(kOnOffKey, &ctrl, &preserved), S_OK);
  EXPECT_TRUE(preserved);

  ITfKeyEventSink* sink = KeySinkSpy::advised;
  auto tapCtrl = [&] {
    BOOL eaten = TRUE;
    EXPECT_EQ(sink->OnPreservedKey(context, kOnOffKey, &eaten), S_OK);
    EXPECT_FALSE(eaten) << "the Ctrl key itself still reaches the application";
  };
  EXPECT_TRUE(Press('S'));
  tapCtrl();
  EXPECT_FALSE(Press('S')) << "closed: keys go to the application";
  tapCtrl();
  EXPECT_TRUE(Press('S')) << "open again";

  // Ctrl+C: the release that follows is not a tap.
  BYTE keys[256] = {};
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  EXPECT_FALSE(Press('C'));
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  tapCtrl();
  EXPECT_TRUE(Press('S')) << "still open";
}

// Wine's documents offer no compositions: in search mode the chosen text waits on the panel, and
// reaches the document once, when it is committed.
TEST_F(TextServiceTest, InSearchModeWithoutCompositionsChosenTextArrivesOnceWhenCommitted) {
  SendMessageW(composition, WM_COMMAND, kCmdSearchMode, 0);
  for (WPARAM key : {'S', 'G', 'A', 'S'}) Press(key);
  Click(16, 40);  // 中, chosen and pending
  EXPECT_EQ(store.text, L"");
  // Enter sends the pending text, then goes on to the application.
  EXPECT_FALSE(Press(VK_RETURN));
  EXPECT_EQ(store.text, kZhong);
  SendMessageW(composition, WM_COMMAND, kCmdSearchMode, 0);
  EXPECT_EQ(store.text, kZhong);
}

// A seeded walk of keys and clicks, as a user who types anything: keys the input method never
// takes are never eaten, and the document only ever receives text, each piece after the last.
TEST_F(TextServiceTest, AnyWalkOfKeysAndClicksLeavesWellFormedTextWithTheCaretAfterIt) {
  static const WPARAM kKeys[] = {'A',      'S',        'D',        'F',       'G',
                                 'H',      'N',        'T',        '1',       '5',
                                 '0',      VK_SPACE,   VK_BACK,    VK_RETURN, VK_ESCAPE,
                                 VK_OEM_1, VK_OEM_2,   VK_OEM_7,   VK_OEM_4,  VK_OEM_COMMA,
                                 VK_ADD,   VK_NUMPAD3, VK_DECIMAL, 'Z',       'Q'};
  static const WPARAM kNeverTaken[] = {VK_F1, VK_F5, VK_TAB, VK_INSERT, VK_PRIOR, VK_SHIFT};
  unsigned seed = 20261209;
  auto next = [&seed](unsigned range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % range;
  };
  for (int step = 0; step < 400; ++step) {
    unsigned choice = next(10);
    if (choice < 7) {
      Press(kKeys[next(static_cast<unsigned>(std::size(kKeys)))]);
    } else if (choice < 9) {
      Click(static_cast<int>(8 + next(270)), static_cast<int>(30 + next(40)));  // the candidates
    } else {
      WPARAM key = kNeverTaken[next(static_cast<unsigned>(std::size(kNeverTaken)))];
      EXPECT_FALSE(Press(key)) << "step " << step << ": key " << key;
    }
    for (wchar_t unit : store.text) ASSERT_GE(unit, L' ') << "step " << step;
    ASSERT_EQ(store.selectionStart, static_cast<LONG>(store.text.size())) << "step " << step;
    ASSERT_EQ(store.selectionEnd, store.selectionStart) << "step " << step;
  }
  EXPECT_FALSE(store.text.empty());
}

}  // namespace
}  // namespace tvime
