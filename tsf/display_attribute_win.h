#pragma once
// The one display attribute of the text service: search mode's pending text, shown in the document
// as input not yet committed (a dotted underline in the text's own colours).

#include <windows.h>

#include <msctf.h>

#include "tsf/tsf_guids_win.h"

namespace tvime {

// A new description of the pending text's attribute (one reference), or nullptr.
ITfDisplayAttributeInfo* NewPendingTextAttribute();
// A new list of the service's attributes (one reference), or nullptr.
IEnumTfDisplayAttributeInfo* NewDisplayAttributeList();

}  // namespace tvime
