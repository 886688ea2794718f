#include "tsf/text_service_win.h"

#include <map>
#include <mutex>

#include "base/gbk.h"
#include "ime/key_filter.h"
#include "panels/panel_windows_win.h"
#include "panels/session_lock_win.h"
#include "tsf/com_ptr_win.h"
#include "tsf/display_attribute_win.h"
#include "tsf/live_objects_win.h"
#include "tsf/tsf_guids_win.h"
#include "tsf/tsf_module_win.h"

namespace tvime {
namespace {

// The active service of each thread. A service that is deactivated while another thread has the
// session's turn still leaves the list, so the list has a lock of its own.
std::mutex g_servicesLock;
std::map<DWORD, TextService*>& Services() {
  static std::map<DWORD, TextService*> services;
  return services;
}

bool Pressed(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// One edit of a document, run by the framework when the document grants its lock.
class EditSession final : public Counted<ITfEditSession> {
 public:
  explicit EditSession(std::function<void(TfEditCookie)> edit) : edit_(std::move(edit)) {}

  STDMETHODIMP DoEditSession(TfEditCookie cookie) override {
    try {
      edit_(cookie);
      return S_OK;
    } catch (...) {
      return E_FAIL;
    }
  }

 private:
  std::function<void(TfEditCookie)> edit_;
};

// Puts the caret after `range` (collapsed to its end).
void CaretAfter(ITfContext* context, TfEditCookie cookie, ITfRange* range) {
  if (FAILED(range->Collapse(cookie, TF_ANCHOR_END))) return;
  TF_SELECTION selection{};
  selection.range = range;
  selection.style.ase = TF_AE_NONE;
  selection.style.fInterimChar = FALSE;
  context->SetSelection(cookie, 1, &selection);
}

const WCHAR* Wide(const std::u16string& text) {
  return reinterpret_cast<const WCHAR*>(text.c_str());
}

}  // namespace

TextService::TextService() { ++LiveObjects(); }

TextService::~TextService() { --LiveObjects(); }

LONG TextService::ObjectCount() { return LiveObjects().load(); }

TextService* TextService::ForContext(ContextHandle context) {
  std::lock_guard<std::mutex> lock(g_servicesLock);
  for (const auto& [thread, service] : Services()) {
    if (service->handle() == context) return service;
  }
  return nullptr;
}

TextService* TextService::ForThread(DWORD threadId) {
  std::lock_guard<std::mutex> lock(g_servicesLock);
  auto found = Services().find(threadId);
  return found == Services().end() ? nullptr : found->second;
}

// --- IUnknown ---

STDMETHODIMP TextService::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ITfTextInputProcessor) ||
      IsEqualIID(iid, IID_ITfTextInputProcessorEx)) {
    *object = static_cast<ITfTextInputProcessorEx*>(this);
  } else if (IsEqualIID(iid, IID_ITfKeyEventSink)) {
    *object = static_cast<ITfKeyEventSink*>(this);
  } else if (IsEqualIID(iid, IID_ITfThreadMgrEventSink)) {
    *object = static_cast<ITfThreadMgrEventSink*>(this);
  } else if (IsEqualIID(iid, IID_ITfCompartmentEventSink)) {
    *object = static_cast<ITfCompartmentEventSink*>(this);
  } else if (IsEqualIID(iid, IID_ITfCompositionSink)) {
    *object = static_cast<ITfCompositionSink*>(this);
  } else if (IsEqualIID(iid, IID_ITfDisplayAttributeProvider)) {
    *object = static_cast<ITfDisplayAttributeProvider*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TextService::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) TextService::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

// --- activation ---

STDMETHODIMP TextService::Activate(ITfThreadMgr* threadMgr, TfClientId clientId) {
  return ActivateEx(threadMgr, clientId, 0);
}

STDMETHODIMP TextService::ActivateEx(ITfThreadMgr* threadMgr, TfClientId clientId, DWORD flags) {
  try {
    SessionLock turn;
    if (!turn || !threadMgr) return E_FAIL;
    HRESULT result = Start(threadMgr, clientId, flags);
    if (FAILED(result)) Stop();
    return result;
  } catch (...) {
    return E_FAIL;
  }
}

STDMETHODIMP TextService::Deactivate() {
  try {
    SessionLock turn;
    // Without its turn the service still lets go of the framework: a service left advised
    // would be called after the framework released it.
    Stop();
  } catch (...) {
  }
  return S_OK;
}

HRESULT TextService::Start(ITfThreadMgr* threadMgr, TfClientId clientId, DWORD flags) {
  threadId_ = GetCurrentThreadId();
  if (ForThread(threadId_)) return E_UNEXPECTED;  // the framework activates one per thread
  TsfModule* module = StartTsfModule((flags & TF_TMAE_SECUREMODE) != 0);
  if (!module) return E_FAIL;
  threadMgr_ = threadMgr;
  threadMgr_->AddRef();
  clientId_ = clientId;
  {
    std::lock_guard<std::mutex> lock(g_servicesLock);
    Services()[threadId_] = this;
  }

  // Keys. Without the key sink (a framework that refuses it) the panels still type.
  ComPtr<ITfKeystrokeMgr> keys;
  if (SUCCEEDED(threadMgr->QueryInterface(IID_ITfKeystrokeMgr, keys.out_void()))) {
    keySinkAdvised_ =
        SUCCEEDED(keys->AdviseKeyEventSink(clientId, static_cast<ITfKeyEventSink*>(this), TRUE));
    TF_PRESERVEDKEY ctrl{VK_CONTROL, TF_MOD_ON_KEYUP};
    static const wchar_t kDescription[] = L"中/英文切换";
    keyPreserved_ = SUCCEEDED(
        keys->PreserveKey(clientId, kOnOffKey, &ctrl, kDescription, ARRAYSIZE(kDescription) - 1));
  }
  ComPtr<ITfSource> source;
  if (SUCCEEDED(threadMgr->QueryInterface(IID_ITfSource, source.out_void()))) {
    source->AdviseSink(IID_ITfThreadMgrEventSink, static_cast<ITfThreadMgrEventSink*>(this),
                       &threadMgrSinkCookie_);
  }
  // A newly activated input method is open, as a newly selected input context is.
  if (ComPtr<ITfCompartment> openClose(OpenCloseCompartment()); openClose) {
    VARIANT open;
    VariantInit(&open);
    open.vt = VT_I4;
    open.lVal = 1;
    openClose->SetValue(clientId_, &open);
    ComPtr<ITfSource> changes;
    if (SUCCEEDED(openClose->QueryInterface(IID_ITfSource, changes.out_void()))) {
      changes->AdviseSink(IID_ITfCompartmentEventSink, static_cast<ITfCompartmentEventSink*>(this),
                          &compartmentSinkCookie_);
    }
  }

  // The atom that marks pending text in documents.
  ComPtr<ITfCategoryMgr> categories;
  if (SUCCEEDED(CoCreateInstance(CLSID_TF_CategoryMgr, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_ITfCategoryMgr, categories.out_void()))) {
    categories->RegisterGUID(kPendingTextAttribute, &pendingAttribute_);
  }

  // The thread's panels. The framework activates the service in every thread of the application
  // that has a thread manager: the composition panel shows where a document has the focus (now,
  // or when one gets it).
  composition_ = CreateCompositionWindow(module->instance, kTsfCompositionClassName, nullptr);
  status_ = CreateStatusBarWindow(module->instance, kTsfStatusClassName, nullptr);
  module->runtime.windows.composition = composition_;
  module->runtime.windows.status = status_;
  ComPtr<ITfDocumentMgr> focus;
  if (SUCCEEDED(threadMgr->GetFocus(focus.out())) && focus) ShowInputState(IsOpen());
  return S_OK;
}

void TextService::Stop() {
  if (documentComposition_) FollowPendingTextWith(u"");
  if (threadMgr_) {
    ComPtr<ITfKeystrokeMgr> keys;
    if (SUCCEEDED(threadMgr_->QueryInterface(IID_ITfKeystrokeMgr, keys.out_void()))) {
      if (keyPreserved_) {
        TF_PRESERVEDKEY ctrl{VK_CONTROL, TF_MOD_ON_KEYUP};
        keys->UnpreserveKey(kOnOffKey, &ctrl);
      }
      if (keySinkAdvised_) keys->UnadviseKeyEventSink(clientId_);
    }
    ComPtr<ITfSource> source;
    if (threadMgrSinkCookie_ != TF_INVALID_COOKIE &&
        SUCCEEDED(threadMgr_->QueryInterface(IID_ITfSource, source.out_void()))) {
      source->UnadviseSink(threadMgrSinkCookie_);
    }
    ComPtr<ITfCompartment> openClose(OpenCloseCompartment());
    ComPtr<ITfSource> changes;
    if (openClose && compartmentSinkCookie_ != TF_INVALID_COOKIE &&
        SUCCEEDED(openClose->QueryInterface(IID_ITfSource, changes.out_void()))) {
      changes->UnadviseSink(compartmentSinkCookie_);
    }
  }
  keyPreserved_ = keySinkAdvised_ = false;
  threadMgrSinkCookie_ = compartmentSinkCookie_ = TF_INVALID_COOKIE;

  if (TsfModule* module = TsfModuleIfStarted()) {
    PanelWindows& windows = module->runtime.windows;
    if (windows.composition == composition_) windows.composition = nullptr;
    if (windows.status == status_) windows.status = nullptr;
  }
  if (composition_) DestroyWindow(composition_);
  if (status_) DestroyWindow(status_);
  composition_ = status_ = nullptr;

  {
    std::lock_guard<std::mutex> lock(g_servicesLock);
    auto found = Services().find(threadId_);
    if (found != Services().end() && found->second == this) Services().erase(found);
  }
  if (threadMgr_) threadMgr_->Release();
  threadMgr_ = nullptr;
  clientId_ = TF_CLIENTID_NULL;
}

// --- the framework's state ---

ITfContext* TextService::FocusContext() {
  if (!threadMgr_) return nullptr;
  ComPtr<ITfDocumentMgr> document;
  if (FAILED(threadMgr_->GetFocus(document.out())) || !document) return nullptr;
  ITfContext* context = nullptr;
  if (FAILED(document->GetTop(&context))) return nullptr;
  return context;
}

ITfCompartment* TextService::OpenCloseCompartment() {
  if (!threadMgr_) return nullptr;
  ComPtr<ITfCompartmentMgr> compartments;
  if (FAILED(threadMgr_->QueryInterface(IID_ITfCompartmentMgr, compartments.out_void()))) {
    return nullptr;
  }
  ITfCompartment* compartment = nullptr;
  if (FAILED(compartments->GetCompartment(kCompartmentKeyboardOpenClose, &compartment))) {
    return nullptr;
  }
  return compartment;
}

bool TextService::IsOpen() {
  ComPtr<ITfCompartment> openClose(OpenCloseCompartment());
  if (!openClose) return true;  // nothing to close it with: the service types
  VARIANT value;
  VariantInit(&value);
  if (FAILED(openClose->GetValue(&value))) return true;
  bool open = value.vt != VT_I4 || value.lVal != 0;
  VariantClear(&value);
  return open;
}

void TextService::SetOpen(bool open) {
  ComPtr<ITfCompartment> openClose(OpenCloseCompartment());
  if (!openClose) return;
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_I4;
  value.lVal = open ? 1 : 0;
  // The compartment's sink (OnChange) does the rest, as for a change from outside.
  openClose->SetValue(clientId_, &value);
}

void TextService::OpenStateChanged() {
  TsfModule* module = TsfModuleIfStarted();
  if (!module) return;
  bool open = IsOpen();
  if (!open) {
    module->runtime.panel.Apply(handle(), UserAction::Just(ActionKind::InputClosed));
    FollowPendingTextWith(u"");
  }
  module->runtime.windows.composition = composition_;
  module->runtime.windows.status = status_;
  ShowInputState(open);
}

HWND TextService::DocumentWindow() {
  ComPtr<ITfContext> context(FocusContext());
  ComPtr<ITfContextView> view;
  HWND window = nullptr;
  if (context && SUCCEEDED(context->GetActiveView(view.out())) && view) view->GetWnd(&window);
  return window ? window : GetFocus();
}

// --- keys ---

int TextService::Verdict(WPARAM wParam, bool release) {
  TsfModule* module = TsfModuleIfStarted();
  if (!module) return static_cast<int>(KeyVerdict::Pass);
  KeyStroke key{static_cast<unsigned>(wParam & 0xFF), release, Pressed(VK_MENU),
                !release && Pressed(VK_CONTROL)};
  ContextState state{IsOpen(), module->runtime.panel.softKeyboard().shown(),
                     documentComposition_ != nullptr};
  return static_cast<int>(module->keyFilter.Filter(key, state));
}

void TextService::TranslateKey(WPARAM wParam, LPARAM lParam) {
  TsfModule* module = TsfModuleIfStarted();
  if (!module) return;
  unsigned key = static_cast<unsigned>(wParam & 0xFF);
  BYTE keyState[256] = {};
  if (!GetKeyboardState(keyState)) ZeroMemory(keyState, sizeof keyState);
  CompositionPanel& panel = module->runtime.panel;
  if (panel.softKeyboard().shown()) {
    panel.Apply(handle(), UserAction::SoftKeyboardKey(key, (keyState[VK_SHIFT] & 0x80) != 0));
    return;
  }
  // The session reads the character the key types in the high byte, as the module gets it from
  // the input-method manager.
  WORD character = 0;
  UINT scan = static_cast<UINT>((lParam >> 16) & 0xFF);
  if (ToAsciiEx(key, scan, keyState, &character, 0, GetKeyboardLayout(0)) != 1) character = 0;
  panel.Apply(handle(),
              UserAction::TypedKey(static_cast<std::uint16_t>(((character & 0xFF) << 8) | key)));
}

STDMETHODIMP TextService::OnSetFocus(BOOL) { return S_OK; }

void TextService::HandBackKey(unsigned virtualKey) {
  if (inKey_) {
    keyHandedBack_ = true;
    return;
  }
  // A click (the panel's Enter) has no key to leave uneaten: the document's window gets one.
  if (HWND window = DocumentWindow()) {
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(window, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
  }
}

STDMETHODIMP TextService::OnTestKeyDown(ITfContext*, WPARAM wParam, LPARAM, BOOL* eaten) {
  if (!eaten) return E_INVALIDARG;
  *eaten = FALSE;
  try {
    SessionLock turn;
    if (turn) *eaten = Verdict(wParam, false) == static_cast<int>(KeyVerdict::Take);
  } catch (...) {
    *eaten = FALSE;
  }
  return S_OK;
}

STDMETHODIMP TextService::OnKeyDown(ITfContext*, WPARAM wParam, LPARAM lParam, BOOL* eaten) {
  if (!eaten) return E_INVALIDARG;
  *eaten = FALSE;
  try {
    SessionLock turn;
    if (!turn || Verdict(wParam, false) != static_cast<int>(KeyVerdict::Take)) return S_OK;
    keyHandedBack_ = false;
    inKey_ = true;
    struct KeyScope {
      bool& flag;
      ~KeyScope() { flag = false; }
    } scope{inKey_};
    TranslateKey(wParam, lParam);
    // A key the session hands back (Enter, Backspace with nothing to act on) is not eaten, and
    // the application gets it as if there were no input method.
    *eaten = keyHandedBack_ ? FALSE : TRUE;
  } catch (...) {
    *eaten = FALSE;
  }
  return S_OK;
}

// Releases pass; the Ctrl release that switches the input method comes as the preserved key.
STDMETHODIMP TextService::OnTestKeyUp(ITfContext*, WPARAM, LPARAM, BOOL* eaten) {
  if (!eaten) return E_INVALIDARG;
  *eaten = FALSE;
  return S_OK;
}

STDMETHODIMP TextService::OnKeyUp(ITfContext*, WPARAM, LPARAM, BOOL* eaten) {
  if (!eaten) return E_INVALIDARG;
  *eaten = FALSE;
  return S_OK;
}

STDMETHODIMP TextService::OnPreservedKey(ITfContext*, REFGUID key, BOOL* eaten) {
  if (!eaten) return E_INVALIDARG;
  *eaten = FALSE;
  try {
    SessionLock turn;
    if (!turn || !IsEqualGUID(key, kOnOffKey)) return S_OK;
    // The filter knows whether another key went down while Ctrl was held.
    if (Verdict(VK_CONTROL, true) == static_cast<int>(KeyVerdict::ToggleOpen)) SetOpen(!IsOpen());
  } catch (...) {
  }
  return S_OK;  // the Ctrl key itself still reaches the application
}

// --- sinks ---

STDMETHODIMP TextService::OnSetFocus(ITfDocumentMgr* focus, ITfDocumentMgr*) {
  try {
    SessionLock turn;
    if (!turn || !composition_) return S_OK;
    // A thread without a focused document (a window that does not take text) hides the panel,
    // as an application window that loses the input method does.
    if (TsfModule* module = TsfModuleIfStarted(); module && focus) {
      module->runtime.windows.composition = composition_;
      module->runtime.windows.status = status_;
      ShowInputState(IsOpen());
    } else {
      ShowWindow(composition_, SW_HIDE);
    }
  } catch (...) {
  }
  return S_OK;
}

STDMETHODIMP TextService::OnChange(REFGUID compartment) {
  try {
    SessionLock turn;
    if (turn && IsEqualGUID(compartment, kCompartmentKeyboardOpenClose)) OpenStateChanged();
  } catch (...) {
  }
  return S_OK;
}

STDMETHODIMP TextService::OnCompositionTerminated(TfEditCookie, ITfComposition* composition) {
  try {
    SessionLock turn;
    if (!turn || !composition || composition != documentComposition_) return S_OK;
    // The application ended the composition (a click elsewhere in the document): what it shows
    // stays there as typed, and the session starts afresh rather than send it a second time.
    documentComposition_->Release();
    documentComposition_ = nullptr;
    compositionText_.clear();
    if (TsfModule* module = TsfModuleIfStarted()) {
      module->runtime.panel.Apply(handle(), UserAction::Just(ActionKind::InputClosed));
    }
  } catch (...) {
  }
  return S_OK;
}

// --- the document ---

HRESULT TextService::EditDocument(ITfContext* context, DWORD access,
                                  std::function<void(TfEditCookie)> edit, bool mayWait) {
  if (!context || clientId_ == TF_CLIENTID_NULL) return E_FAIL;
  ComPtr<ITfEditSession> session(new EditSession(std::move(edit)));
  HRESULT result = E_FAIL;
  HRESULT requested =
      context->RequestEditSession(clientId_, session.get(), TF_ES_SYNC | access, &result);
  // A document that is busy (the application holds its lock) cannot be edited at once; the
  // framework runs the edit as soon as the lock is free.
  if (SUCCEEDED(requested) && result == TF_E_SYNCHRONOUS && mayWait) {
    requested = context->RequestEditSession(clientId_, session.get(), TF_ES_ASYNCDONTCARE | access,
                                            &result);
  }
  return FAILED(requested) ? requested : result;
}

void TextService::Apply(ITfContext* context, TfEditCookie cookie, const CompositionMove& move) {
  LONG length = static_cast<LONG>(move.text.size());
  if (move.insertAtSelection) {
    ComPtr<ITfInsertAtSelection> insert;
    if (FAILED(context->QueryInterface(IID_ITfInsertAtSelection, insert.out_void()))) return;
    ComPtr<ITfRange> range;
    if (FAILED(insert->InsertTextAtSelection(cookie, 0, Wide(move.text), length, range.out())) ||
        !range) {
      return;
    }
    CaretAfter(context, cookie, range.get());
    return;
  }
  // An edit that waited for the document's lock finds the composition as the edits before it
  // left it: one that is there already is not started twice.
  if (move.start && !documentComposition_) {
    // Microsoft's way: the composition starts on the empty range where text would be inserted.
    ComPtr<ITfContextComposition> compositions;
    ComPtr<ITfInsertAtSelection> insert;
    ComPtr<ITfRange> at;
    if (FAILED(context->QueryInterface(IID_ITfContextComposition, compositions.out_void())) ||
        FAILED(context->QueryInterface(IID_ITfInsertAtSelection, insert.out_void())) ||
        FAILED(insert->InsertTextAtSelection(cookie, TF_IAS_QUERYONLY, nullptr, 0, at.out())) ||
        !at) {
      return;
    }
    ITfComposition* started = nullptr;
    if (FAILED(compositions->StartComposition(cookie, at.get(),
                                              static_cast<ITfCompositionSink*>(this), &started)) ||
        !started) {
      return;
    }
    documentComposition_ = started;
  }
  if (!documentComposition_) return;
  if (move.replaceText) {
    ComPtr<ITfRange> range;
    if (SUCCEEDED(documentComposition_->GetRange(range.out())) && range &&
        SUCCEEDED(range->SetText(cookie, 0, Wide(move.text), length))) {
      compositionText_ = move.text;
      // Text that stays in the document carries no mark of ours.
      MarkPending(context, cookie, range.get(), !move.end);
      ComPtr<ITfRange> caret;
      if (SUCCEEDED(range->Clone(caret.out())) && caret) CaretAfter(context, cookie, caret.get());
    }
  }
  if (move.end) {
    documentComposition_->EndComposition(cookie);
    documentComposition_->Release();
    documentComposition_ = nullptr;
    compositionText_.clear();
  }
}

void TextService::MarkPending(ITfContext* context, TfEditCookie cookie, ITfRange* range,
                              bool mark) {
  ComPtr<ITfProperty> attribute;
  if (FAILED(context->GetProperty(kPropAttribute, attribute.out())) || !attribute) return;
  if (!mark || pendingAttribute_ == TF_INVALID_GUIDATOM) {
    attribute->Clear(cookie, range);
    return;
  }
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_I4;
  value.lVal = static_cast<LONG>(pendingAttribute_);
  attribute->SetValue(cookie, range, &value);
}

STDMETHODIMP TextService::EnumDisplayAttributeInfo(IEnumTfDisplayAttributeInfo** list) {
  if (!list) return E_INVALIDARG;
  *list = NewDisplayAttributeList();
  return *list ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP TextService::GetDisplayAttributeInfo(REFGUID guid, ITfDisplayAttributeInfo** info) {
  if (!info) return E_INVALIDARG;
  *info = nullptr;
  if (!IsEqualGUID(guid, kPendingTextAttribute)) return E_INVALIDARG;
  *info = NewPendingTextAttribute();
  return *info ? S_OK : E_OUTOFMEMORY;
}

void TextService::Commit(std::u16string_view text) {
  ComPtr<ITfContext> context(FocusContext());
  if (!context || text.empty()) return;
  ApplyWhenGranted(context.get(), ForCommit(documentComposition_ != nullptr, text));
}

void TextService::ApplyWhenGranted(ITfContext* context, const CompositionMove& move) {
  // The edit may run later: it holds what it needs.
  ComPtr<TextService> self(this, true);
  ComPtr<ITfContext> document(context, true);
  EditDocument(
      context, TF_ES_READWRITE,
      [self, document, move](TfEditCookie cookie) { self->Apply(document.get(), cookie, move); },
      true);
}

void TextService::FollowPendingText() {
  TsfModule* module = TsfModuleIfStarted();
  if (!module) return;
  const SessionState& state = module->runtime.panel.state();
  FollowPendingTextWith(state.searchMode ? GbkToUtf16(state.pendingPhrase) : std::u16string());
}

void TextService::FollowPendingTextWith(const std::u16string& pending) {
  bool composing = documentComposition_ != nullptr;
  // Every refresh of the panel comes here: most find nothing to do.
  if (!composing && pending.empty()) return;
  if (composing && pending == compositionText_) return;
  ComPtr<ITfContext> context(FocusContext());
  if (!context) return;
  ComPtr<ITfContextComposition> compositions;
  bool available =
      SUCCEEDED(context->QueryInterface(IID_ITfContextComposition, compositions.out_void()));
  CompositionMove move = ForPendingText(composing, available, pending);
  if (move != CompositionMove{}) ApplyWhenGranted(context.get(), move);
}

bool TextService::Caret(POINT& caret, HWND& window) {
  ComPtr<ITfContext> context(FocusContext());
  ComPtr<ITfContextView> view;
  if (!context || FAILED(context->GetActiveView(view.out())) || !view) return false;
  RECT extent{};
  bool found = false;
  ITfContext* document = context.get();
  ITfContextView* active = view.get();
  // Read synchronously or not at all: the result is wanted now.
  EditDocument(
      document, TF_ES_READ,
      [&](TfEditCookie cookie) {
        TF_SELECTION selection{};
        ULONG fetched = 0;
        if (FAILED(document->GetSelection(cookie, TF_DEFAULT_SELECTION, 1, &selection, &fetched)) ||
            fetched != 1 || !selection.range) {
          return;
        }
        BOOL clipped = FALSE;
        found = SUCCEEDED(active->GetTextExt(cookie, selection.range, &extent, &clipped));
        selection.range->Release();
      },
      false);
  // An empty answer at the origin is a view that does not know where its text is.
  if (!found || (extent.left == 0 && extent.top == 0 && extent.right == 0 && extent.bottom == 0)) {
    return false;
  }
  caret = {extent.left, extent.top};
  window = DocumentWindow();
  return true;
}

}  // namespace tvime
