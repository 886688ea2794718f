#include "install/ime_registrar_win.h"

#include <imm.h>
#include <shlwapi.h>

#include <cwchar>

#include "base/registry_key_win.h"
#include "base/wide_text_win.h"

namespace tvime {
namespace {

constexpr DWORD kMaxText = 260;

std::wstring ReadString(HKEY key, const wchar_t* name) {
  wchar_t value[kMaxText] = {};
  DWORD type = 0;
  DWORD bytes = sizeof value - sizeof(wchar_t);
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  return value;
}

}  // namespace

ImeRegistrar::ImeRegistrar(ErrorReport reportError) : reportError_(std::move(reportError)) {}

void ImeRegistrar::ShowUninstallError(std::string_view message) {
  MessageBoxW(nullptr, WideFromUtf8(message).c_str(), L"卸载输入法", MB_OK | MB_ICONERROR);
}

std::wstring ImeRegistrar::LayoutName(HKL layout) {
  wchar_t name[16];
  std::swprintf(name, std::size(name), L"%x",
                static_cast<unsigned>(reinterpret_cast<UINT_PTR>(layout) & 0xFFFFFFFF));
  return name;
}

bool ImeRegistrar::InstallIme(std::string_view fileName, std::string_view layoutText) {
  std::wstring path = WideFromUtf8(fileName);
  if (PathIsRelativeW(path.c_str())) {
    wchar_t directory[MAX_PATH + 1] = {};
    UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 1 || !PathAddBackslashW(directory)) return false;
    path = directory + path;
  }
  if (path.size() >= kMaxText) return false;
  std::wstring text = WideFromUtf8(layoutText);
  // Installed again (an upgrade, a repair): the layout the user has stays the one layout. Wine's
  // input-method manager would add a second one with the same module.
  std::wstring existing = FindLayoutOf(PathFindFileNameW(path.c_str()));
  if (!existing.empty()) {
    RegistryKey layout(HKEY_LOCAL_MACHINE,
                       (std::wstring(kKeyboardLayoutsKey) + L"\\" + existing).c_str(),
                       KEY_SET_VALUE);
    if (layout) {
      std::wstring imeFile = ReadString(layout.get(), L"IME File");
      // Windows keeps the bare file name, Wine the full path: a path follows the module.
      if (PathFindFileNameW(imeFile.c_str()) != imeFile.c_str()) {
        RegSetValueExW(layout.get(), L"IME File", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
      }
      RegSetValueExW(layout.get(), L"Layout Text", 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    LoadKeyboardLayoutW(existing.c_str(), KLF_REPLACELANG);
    return true;
  }
  HKL layout = ImmInstallIMEW(path.c_str(), text.c_str());
  if (!layout) return false;
  LoadKeyboardLayoutW(LayoutName(layout).c_str(), KLF_REPLACELANG);
  return true;
}

std::wstring ImeRegistrar::FindLayoutOf(std::wstring_view fileName) {
  RegistryKey layouts(HKEY_LOCAL_MACHINE, kKeyboardLayoutsKey, KEY_READ);
  if (!layouts) return {};
  std::wstring wanted(fileName);
  wchar_t name[kMaxText];
  for (DWORD index = 0; RegEnumKeyW(layouts.get(), index, name, kMaxText) == ERROR_SUCCESS;
       ++index) {
    RegistryKey layout(HKEY_LOCAL_MACHINE,
                       (std::wstring(kKeyboardLayoutsKey) + L"\\" + name).c_str(), KEY_READ);
    if (!layout) continue;
    std::wstring imeFile = ReadString(layout.get(), L"IME File");
    // Windows keeps the bare file name; Wine keeps the full path.
    if (!imeFile.empty() && lstrcmpiW(PathFindFileNameW(imeFile.c_str()), wanted.c_str()) == 0) {
      return name;
    }
  }
  return {};
}

bool ImeRegistrar::UninstallIme(std::string_view fileName) {
  std::wstring wanted = PathFindFileNameW(WideFromUtf8(fileName).c_str());
  RegistryKey layouts(HKEY_LOCAL_MACHINE, kKeyboardLayoutsKey, KEY_ALL_ACCESS);
  if (!layouts) {
    reportError_("在注册表中打开输入法注册表项时出错！\n");
    return false;
  }
  // Every layout of the module goes, not only the first: an earlier install under Wine, or a
  // repair by hand, may have left more than one, and a layout without its module is broken.
  // (Bounded, in case a key refuses to be deleted.)
  for (int removed = 0; removed < 16; ++removed) {
    std::wstring name = FindLayoutOf(wanted);
    if (name.empty()) break;
    // Layout handles of input methods have the top bit set; on 64-bit systems they are
    // sign-extended.
    auto handle = static_cast<LONG>(std::wcstoul(name.c_str(), nullptr, 16));
    UnloadKeyboardLayout(reinterpret_cast<HKL>(static_cast<LONG_PTR>(handle)));
    RemovePreloadEntry(name, "在注册表中删除输入法PreLoad项时出错！");
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, std::wstring(kKeyboardLayoutsKey) + L"\\" + name,
                       "在注册表中删除输入法项时出错！");
  }
  return true;
}

void ImeRegistrar::RemovePreloadEntry(std::wstring_view layoutName, std::string_view message) {
  RegistryKey preload(HKEY_CURRENT_USER, kPreloadKey, KEY_ALL_ACCESS);
  if (!preload) {
    reportError_("在注册表中打开输入法注册表项时出错！\n");
    return;
  }
  std::wstring wanted(layoutName);
  for (DWORD index = 0;; ++index) {
    wchar_t valueName[kMaxText] = {};
    wchar_t data[kMaxText] = {};
    DWORD nameLength = kMaxText;
    DWORD dataBytes = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    if (RegEnumValueW(preload.get(), index, valueName, &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data), &dataBytes) != ERROR_SUCCESS) {
      break;
    }
    if (type != REG_SZ || lstrcmpiW(data, wanted.c_str()) != 0) continue;
    if (RegDeleteValueW(preload.get(), valueName) != ERROR_SUCCESS) reportError_(message);
    break;
  }
}

void ImeRegistrar::DeleteRegistryTree(HKEY root, std::wstring_view path, std::string_view message) {
  size_t split = path.rfind(L'\\');
  if (split == std::wstring_view::npos) return;
  RegistryKey parent(root, std::wstring(path.substr(0, split)).c_str(), KEY_ALL_ACCESS);
  if (!parent) return;
  std::wstring child(path.substr(split + 1));
  if (SHDeleteKeyW(parent.get(), child.c_str()) != ERROR_SUCCESS && !message.empty()) {
    reportError_(message);
  }
}

}  // namespace tvime
