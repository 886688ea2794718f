#!/usr/bin/env bash
# Checks the export table of an input-method module: exactly the functions the input-method
# manager and regsvr32 call, under their plain names, and the platform DLLs it needs:
#   check-ime-exports.sh OBJDUMP MODULE
set -uo pipefail
objdump=$1 module=$2
expected="DllRegisterServer DllUnregisterServer ImeConfigure ImeConversionList ImeDestroy
ImeEnumRegisterWord ImeEscape ImeGetRegisterWordStyle ImeInquire ImeProcessKey ImeRegisterWord
ImeSelect ImeSetActiveContext ImeSetCompositionString ImeToAsciiEx ImeUnregisterWord NotifyIME"
table=$("$objdump" -p "$module")
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$table" |
          sed -n 's/^\t\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
wanted=$(echo $expected | tr ' ' '\n' | sort | tr '\n' ' ')
status=0
if [ "$exports" != "$wanted" ]; then
  echo "$module exports: $exports"
  echo "expected:        $wanted"
  status=1
fi
for dll in IMM32.dll USER32.dll SHLWAPI.dll; do
  grep -qi "DLL Name: $dll" <<<"$table" || { echo "$module does not import $dll"; status=1; }
done
exit $status
