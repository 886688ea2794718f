#include <objbase.h>
#include <windows.h>

#include "settings/user_id.h"

namespace tvime {

std::string NewGuidText() {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) return {};
  LPOLESTR wide = nullptr;
  if (FAILED(StringFromIID(guid, &wide)) || !wide) return {};
  // A GUID's text is plain ASCII: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
  std::string text;
  for (const wchar_t* p = wide; *p; ++p) text += static_cast<char>(*p);
  CoTaskMemFree(wide);
  return text;
}

}  // namespace tvime
