// The four functions COM and regsvr32 call in tvimetsf.dll, and the class factory. They run inside
// other people's applications: every one catches everything, and nothing heavy happens at load.

#include <windows.h>

#include <new>
#include <string>

#include "tsf/text_service_win.h"
#include "tsf/tsf_guids_win.h"
#include "tsf/tsf_module_win.h"
#include "tsf/tsf_registrar_win.h"

namespace tvime {
namespace {

LONG g_locks = 0;

class ClassFactory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_INVALIDARG;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) {
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  // One static factory: its references keep nothing alive.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_INVALIDARG;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      auto* service = new (std::nothrow) TextService;
      if (!service) return E_OUTOFMEMORY;
      HRESULT result = service->QueryInterface(iid, object);
      service->Release();
      return result;
    } catch (...) {
      return E_FAIL;
    }
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) {
      InterlockedIncrement(&g_locks);
    } else {
      InterlockedDecrement(&g_locks);
    }
    return S_OK;
  }
};

ClassFactory g_factory;

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(TsfInstance(), path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

}  // namespace
}  // namespace tvime

using namespace tvime;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  // Under the loader lock only the instance is remembered; the engine starts at the first
  // activation.
  if (reason == DLL_PROCESS_ATTACH) {
    SetTsfInstance(instance);
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    try {
      StopTsfModule();
    } catch (...) {
    }
  }
  return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_INVALIDARG;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, kTextServiceClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, object);
}

// Once the engine has started in a process it stays: its windows, its background service and its
// mapped dictionaries live as long as the process.
HRESULT WINAPI DllCanUnloadNow() {
  return TextService::ObjectCount() == 0 && g_locks == 0 && !TsfModuleIfStarted() ? S_OK : S_FALSE;
}

HRESULT WINAPI DllRegisterServer() {
  try {
    std::wstring path = ModulePath();
    if (path.empty()) return E_FAIL;
    return RegisterTextService(path) ? S_OK : E_FAIL;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT WINAPI DllUnregisterServer() {
  try {
    return UnregisterTextService() ? S_OK : E_FAIL;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // extern "C"
