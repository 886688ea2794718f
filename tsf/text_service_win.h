#pragma once
// The text service the framework creates for each thread that uses the input method. It hands
// the thread's keys to the session through the portable key filter, follows the keyboard's
// open/close compartment, owns the thread's panels, and writes what the session commits into the
// focused document. Every COM entry catches everything; a failure lets the key through.

#include <windows.h>

#include <msctf.h>

#include <functional>
#include <string>
#include <string_view>

#include "session/host.h"
#include "tsf/composition_plan.h"
#include "tsf/tsf_guids_win.h"

namespace tvime {

class TextService final : public ITfTextInputProcessorEx,
                          public ITfKeyEventSink,
                          public ITfThreadMgrEventSink,
                          public ITfCompartmentEventSink,
                          public ITfCompositionSink,
                          public ITfDisplayAttributeProvider {
 public:
  TextService();
  TextService(const TextService&) = delete;
  TextService& operator=(const TextService&) = delete;

  // The live service a session context names; nullptr when it has gone.
  static TextService* ForContext(ContextHandle context);
  // The active service of a thread, or nullptr.
  static TextService* ForThread(DWORD threadId);
  // Live COM objects of the module, the service's and its helpers' (DllCanUnloadNow).
  static LONG ObjectCount();

  ContextHandle handle() const { return reinterpret_cast<ContextHandle>(this); }

  // What the session's host asks of the service of its thread.
  void Commit(std::u16string_view text);
  // A key the session does not keep: inside the key's own handling it is left uneaten, else it
  // is posted to the document's window.
  void HandBackKey(unsigned virtualKey);
  void FollowPendingText();
  bool Caret(POINT& caret, HWND& window);
  HWND DocumentWindow();
  bool IsOpen();
  void SetOpen(bool open);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // ITfTextInputProcessor(Ex)
  STDMETHODIMP Activate(ITfThreadMgr* threadMgr, TfClientId clientId) override;
  STDMETHODIMP Deactivate() override;
  STDMETHODIMP ActivateEx(ITfThreadMgr* threadMgr, TfClientId clientId, DWORD flags) override;

  // ITfKeyEventSink
  STDMETHODIMP OnSetFocus(BOOL foreground) override;
  STDMETHODIMP OnTestKeyDown(ITfContext* context, WPARAM wParam, LPARAM lParam,
                             BOOL* eaten) override;
  STDMETHODIMP OnTestKeyUp(ITfContext* context, WPARAM wParam, LPARAM lParam, BOOL* eaten) override;
  STDMETHODIMP OnKeyDown(ITfContext* context, WPARAM wParam, LPARAM lParam, BOOL* eaten) override;
  STDMETHODIMP OnKeyUp(ITfContext* context, WPARAM wParam, LPARAM lParam, BOOL* eaten) override;
  STDMETHODIMP OnPreservedKey(ITfContext* context, REFGUID key, BOOL* eaten) override;

  // ITfThreadMgrEventSink
  STDMETHODIMP OnInitDocumentMgr(ITfDocumentMgr*) override { return S_OK; }
  STDMETHODIMP OnUninitDocumentMgr(ITfDocumentMgr*) override { return S_OK; }
  STDMETHODIMP OnSetFocus(ITfDocumentMgr* focus, ITfDocumentMgr* previous) override;
  STDMETHODIMP OnPushContext(ITfContext*) override { return S_OK; }
  STDMETHODIMP OnPopContext(ITfContext*) override { return S_OK; }

  // ITfCompartmentEventSink
  STDMETHODIMP OnChange(REFGUID compartment) override;

  // ITfCompositionSink
  STDMETHODIMP OnCompositionTerminated(TfEditCookie cookie, ITfComposition* composition) override;

  // ITfDisplayAttributeProvider: the framework asks a service of its own for these, activated or
  // not.
  STDMETHODIMP EnumDisplayAttributeInfo(IEnumTfDisplayAttributeInfo** list) override;
  STDMETHODIMP GetDisplayAttributeInfo(REFGUID guid, ITfDisplayAttributeInfo** info) override;

 private:
  ~TextService();

  HRESULT Start(ITfThreadMgr* threadMgr, TfClientId clientId, DWORD flags);
  void Stop();
  // The key filter's verdict (a KeyVerdict) on a key as the framework reports it.
  int Verdict(WPARAM wParam, bool release);
  void TranslateKey(WPARAM wParam, LPARAM lParam);
  ITfContext* FocusContext();              // AddRef'd, or nullptr
  ITfCompartment* OpenCloseCompartment();  // AddRef'd, or nullptr
  void OpenStateChanged();
  void FollowPendingTextWith(const std::u16string& pending);
  // Runs `edit` in an edit session of `context` (TF_ES_READ or TF_ES_READWRITE): synchronously,
  // or when `mayWait` and the document cannot grant it now, as soon as it can.
  HRESULT EditDocument(ITfContext* context, DWORD access, std::function<void(TfEditCookie)> edit,
                       bool mayWait);
  void Apply(ITfContext* context, TfEditCookie cookie, const CompositionMove& move);
  // Applies `move` in a read-write edit session of `context`, now or when the document grants it.
  void ApplyWhenGranted(ITfContext* context, const CompositionMove& move);
  // Marks `range` as pending text, or with `mark` false takes the mark away.
  void MarkPending(ITfContext* context, TfEditCookie cookie, ITfRange* range, bool mark);

  LONG references_ = 1;
  ITfThreadMgr* threadMgr_ = nullptr;
  TfClientId clientId_ = TF_CLIENTID_NULL;
  DWORD threadId_ = 0;
  DWORD threadMgrSinkCookie_ = TF_INVALID_COOKIE;
  DWORD compartmentSinkCookie_ = TF_INVALID_COOKIE;
  bool keySinkAdvised_ = false;
  bool keyPreserved_ = false;
  bool inKey_ = false;
  bool keyHandedBack_ = false;
  HWND composition_ = nullptr;
  HWND status_ = nullptr;
  ITfComposition* documentComposition_ = nullptr;  // ours, while pending text is shown
  std::u16string compositionText_;
  TfGuidAtom pendingAttribute_ = TF_INVALID_GUIDATOM;
};

}  // namespace tvime
