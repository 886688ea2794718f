#include "tsf/tsf_registrar_win.h"

#include <windows.h>

#include <msctf.h>
#include <objbase.h>

#include "base/product_title.h"
#include "base/wide_text_win.h"
#include "tsf/com_ptr_win.h"
#include "tsf/tsf_guids_win.h"

namespace tvime {
namespace {

// COM for the length of a registration, unless the caller's thread already has it.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, ARRAYSIZE(text));
  return text;
}

std::wstring ClassKey() { return L"Software\\Classes\\CLSID\\" + GuidText(kTextServiceClsid); }

bool SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WriteClass(const std::wstring& modulePath, const std::wstring& name) {
  HKEY classKey = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, ClassKey().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                      &classKey, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  bool written = SetString(classKey, nullptr, name);
  HKEY server = nullptr;
  if (RegCreateKeyExW(classKey, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &server,
                      nullptr) == ERROR_SUCCESS) {
    written = SetString(server, nullptr, modulePath) && written;
    written = SetString(server, L"ThreadingModel", L"Apartment") && written;
    RegCloseKey(server);
  } else {
    written = false;
  }
  RegCloseKey(classKey);
  return written;
}

}  // namespace

bool RegisterTextService(const std::wstring& modulePath) {
  ComScope com;
  std::wstring name = WideFromUtf8(TVIME_PRODUCT_NAME);
  if (!WriteClass(modulePath, name)) return false;

  ComPtr<ITfInputProcessorProfiles> profiles;
  if (FAILED(CoCreateInstance(CLSID_TF_InputProcessorProfiles, nullptr, CLSCTX_INPROC_SERVER,
                              IID_ITfInputProcessorProfiles, profiles.out_void()))) {
    return false;
  }
  bool done = SUCCEEDED(profiles->Register(kTextServiceClsid));
  // The icon is the module's first (and only) icon.
  done = done && SUCCEEDED(profiles->AddLanguageProfile(
                     kTextServiceClsid, kChineseSimplified, kTextServiceProfile, name.c_str(),
                     static_cast<ULONG>(name.size()), modulePath.c_str(),
                     static_cast<ULONG>(modulePath.size()), 0));
  // Enabled for every user of the machine, and for the one installing it now.
  done = done && SUCCEEDED(profiles->EnableLanguageProfileByDefault(
                     kTextServiceClsid, kChineseSimplified, kTextServiceProfile, TRUE));
  done = done && SUCCEEDED(profiles->EnableLanguageProfile(kTextServiceClsid, kChineseSimplified,
                                                           kTextServiceProfile, TRUE));

  ComPtr<ITfCategoryMgr> categories;
  if (FAILED(CoCreateInstance(CLSID_TF_CategoryMgr, nullptr, CLSCTX_INPROC_SERVER,
                              IID_ITfCategoryMgr, categories.out_void()))) {
    return false;
  }
  for (const GUID& category : kTextServiceCategories) {
    done =
        SUCCEEDED(categories->RegisterCategory(kTextServiceClsid, category, kTextServiceClsid)) &&
        done;
  }
  return done;
}

bool UnregisterTextService() {
  ComScope com;
  bool done = true;
  ComPtr<ITfCategoryMgr> categories;
  if (SUCCEEDED(CoCreateInstance(CLSID_TF_CategoryMgr, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_ITfCategoryMgr, categories.out_void()))) {
    for (const GUID& category : kTextServiceCategories) {
      categories->UnregisterCategory(kTextServiceClsid, category, kTextServiceClsid);
    }
  } else {
    done = false;
  }
  ComPtr<ITfInputProcessorProfiles> profiles;
  if (SUCCEEDED(CoCreateInstance(CLSID_TF_InputProcessorProfiles, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_ITfInputProcessorProfiles, profiles.out_void()))) {
    // Removes the profiles with the class's registration.
    profiles->Unregister(kTextServiceClsid);
  } else {
    done = false;
  }
  LSTATUS deleted = RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassKey().c_str());
  return done && (deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND);
}

}  // namespace tvime
