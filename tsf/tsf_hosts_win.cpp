#include "tsf/tsf_hosts_win.h"

#include "base/gbk.h"
#include "tsf/text_service_win.h"

namespace tvime {
namespace {

// The session runs on the application's thread that uses the input method: its service.
TextService* ThisThreadsService() { return TextService::ForThread(GetCurrentThreadId()); }

}  // namespace

void TsfSessionHost::Commit(ContextHandle context, std::string_view text) {
  if (TextService* service = TextService::ForContext(context)) service->Commit(GbkToUtf16(text));
}

void TsfSessionHost::ReturnKey(ContextHandle context, unsigned virtualKey) {
  if (TextService* service = TextService::ForContext(context)) service->HandBackKey(virtualKey);
}

void TsfSessionHost::PanelChanged(ContextHandle context) {
  if (HWND composition = Windows() ? Windows()->composition : nullptr) {
    if (!IsWindowVisible(composition)) ShowCompositionWindow(composition);
    InvalidateRect(composition, nullptr, FALSE);
  }
  if (TextService* service = TextService::ForContext(context)) service->FollowPendingText();
}

void TsfSessionHost::Invalidate(bool erase) {
  WindowsSessionHost::Invalidate(erase);
  if (TextService* service = ThisThreadsService()) service->FollowPendingText();
}

bool TsfSessionHost::CaretOf(ContextHandle context, POINT& caret, HWND& window) {
  TextService* service = TextService::ForContext(context);
  if (service && service->Caret(caret, window)) return true;
  return WindowsSessionHost::CaretOf(context, caret, window);
}

ContextHandle TsfWindowHost::ContextFor(HWND panel) {
  TextService* service = TextService::ForThread(GetWindowThreadProcessId(panel, nullptr));
  return service ? service->handle() : 0;
}

HWND TsfWindowHost::ApplicationWindow(ContextHandle context) {
  TextService* service = TextService::ForContext(context);
  return service ? service->DocumentWindow() : nullptr;
}

bool TsfWindowHost::IsOpen(ContextHandle context) {
  TextService* service = TextService::ForContext(context);
  return service && service->IsOpen();
}

void TsfWindowHost::SetOpen(ContextHandle context, bool open) {
  if (TextService* service = TextService::ForContext(context)) service->SetOpen(open);
}

}  // namespace tvime
