; The Windows setup of the input method: one program that installs, upgrades and removes
; everything. Built by scripts/package.sh with makensis:
;   makensis -INPUTCHARSET UTF8 -DARCH=x64|x86 -DBIN=<programs of that bitness>
;            [-DBIN32=<32-bit programs, for the x64 setup's SysWOW64 module>] -DVERSION=a.b.c.d
;            -DLICENSE=<licence RTF> -DOUTFILE=<setup.exe> tvime.nsi
; The x64 setup puts the 64-bit module and text service into System32 and the 32-bit ones into
; SysWOW64, so that 32-bit applications get the input method too; the x86 setup is for 32-bit
; Windows only. The module (tvime30.ime) serves classic desktop applications through IMM32, the
; text service (tvimetsf.dll) applications that use the Text Services Framework, among them the
; immersive ones that load no IMM32 module.
; Silent: /S (both the setup and the uninstaller).

Unicode true
; The setup itself has the bitness of what it installs: a 64-bit setup writes System32, Program
; Files and the registry's 64-bit view without redirection.
!if "${ARCH}" == "x64"
  Target amd64-unicode
  !define ARCH_TEXT "64 位"
!else
  Target x86-unicode
  !define ARCH_TEXT "32 位"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include WinMessages.nsh

; The product's name and version, and the stand-alone program's exit command, as the programs
; have them (makensis runs in this script's folder).
!searchparse /file "../../base/product_title.h" '#define TVIME_PRODUCT_NAME "' PRODUCT '"'
!searchparse /file "../../base/product_title.h" '#define TVIME_PRODUCT_VERSION "' PRODUCT_VERSION '"'
!searchparse /file "../../resources/resource_ids.h" '#define IDM_TRAY_EXIT ' GUI_EXIT_COMMAND
!define PUBLISHER "Tavrin"
!define SETTINGS_KEY "Software\Tavrin\tvime3.0\Settings"
!define PRODUCT_KEY "Software\Tavrin\tvime3.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TavrinIME"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"
!define GUI_WINDOW_CLASS "TavrinIMEGUIApp30"

Name "${PRODUCT} ${PRODUCT_VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; The dictionaries (about 6 MB, stored scrambled, so LZMA finds nothing in them) are in tvimegui
; and in both modules; a window larger than a program lets each copy refer back to the last one.
SetCompressorDictSize 32
!if "${ARCH}" == "x64"
  InstallDir "$PROGRAMFILES64\Tavrin\tvime"
!else
  InstallDir "$PROGRAMFILES\Tavrin\tvime"
!endif
BrandingText "${PRODUCT} ${VERSION} (${ARCH_TEXT})"

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; --- Shared steps ---

; The stand-alone program holds its files open: it is ended through its tray menu's exit command
; (no question asked) before they are replaced or removed.
!macro EndRunningProgram
  FindWindow $0 "${GUI_WINDOW_CLASS}"
  ${If} $0 <> 0
    SendMessage $0 ${WM_COMMAND} ${GUI_EXIT_COMMAND} 0 /TIMEOUT=3000
    Sleep 500
  ${EndIf}
!macroend

; Moves the file $R0 aside before a new one takes its place, by the update agent's rule: a file
; that applications hold loaded cannot be overwritten but can be renamed, to the first free of
; "<file>.b00" ... "<file>.b09", which goes now or at the next restart.
!macro MoveAsideFunction PREFIX
Function ${PREFIX}MoveAside
  Push $R1
  Push $R2
  StrCpy $R2 0
  IfFileExists "$R0" try done
  try:
    IntFmt $R1 "%02d" $R2
    Delete "$R0.b$R1"
    ClearErrors
    Rename "$R0" "$R0.b$R1"
    IfErrors 0 moved
    IntOp $R2 $R2 + 1
    IntCmp $R2 10 done try done
  moved:
    Delete /REBOOTOK "$R0.b$R1"
  done:
  Pop $R2
  Pop $R1
FunctionEnd
!macroend
!insertmacro MoveAsideFunction ""
!insertmacro MoveAsideFunction "un."

!macro PutFile DIRECTORY SOURCE NAME
  StrCpy $R0 "${DIRECTORY}\${NAME}"
  Call MoveAside
  SetOutPath "${DIRECTORY}"
  File "/oname=${NAME}" "${SOURCE}\${NAME}"
!macroend

!macro RemoveFile PATH
  StrCpy $R0 "${PATH}"
  Call un.MoveAside
!macroend

; The machine's settings are read by programs of both bitnesses: on 64-bit Windows each view
; gets them.
!macro ForEachRegView BODY
  !if "${ARCH}" == "x64"
    SetRegView 32
    ${BODY}
    SetRegView 64
    ${BODY}
  !else
    ${BODY}
  !endif
!macroend

!macro WriteInstallPath
  WriteRegStr HKLM "${SETTINGS_KEY}" "Path" "$INSTDIR"
!macroend
!macro DeleteProductKeys
  DeleteRegKey HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Tavrin"
!macroend

Function .onInit
  SetShellVarContext all
  !if "${ARCH}" == "x64"
    ${IfNot} ${RunningX64}
      MessageBox MB_ICONSTOP|MB_OK "这是 64 位 Windows 的安装程序，请使用 setup-x86.exe。" /SD IDOK
      Abort
    ${EndIf}
    SetRegView 64
  !else
    ${If} ${RunningX64}
      MessageBox MB_ICONSTOP|MB_OK "这是 32 位 Windows 的安装程序，请使用 setup-x64.exe。" /SD IDOK
      Abort
    ${EndIf}
  !endif
FunctionEnd

Function un.onInit
  SetShellVarContext all
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
FunctionEnd

; --- Install (and upgrade) ---

Section "install"
  !insertmacro EndRunningProgram

  ; The input-method module and the text service, loaded by applications as they run.
  !if "${ARCH}" == "x64"
    ${DisableX64FSRedirection}
    !insertmacro PutFile "$WINDIR\System32" "${BIN}" "tvime30.ime"
    !insertmacro PutFile "$WINDIR\SysWOW64" "${BIN32}" "tvime30.ime"
    !insertmacro PutFile "$WINDIR\System32" "${BIN}" "tvimetsf.dll"
    !insertmacro PutFile "$WINDIR\SysWOW64" "${BIN32}" "tvimetsf.dll"
    ${EnableX64FSRedirection}
  !else
    !insertmacro PutFile "$SYSDIR" "${BIN}" "tvime30.ime"
    !insertmacro PutFile "$SYSDIR" "${BIN}" "tvimetsf.dll"
  !endif

  !insertmacro PutFile "$INSTDIR" "${BIN}" "tvimegui.exe"
  !insertmacro PutFile "$INSTDIR" "${BIN}" "tvimedic.exe"
  !insertmacro PutFile "$INSTDIR" "${BIN}" "tvimeup.exe"
  !insertmacro PutFile "$INSTDIR" "${BIN}" "tvimeist.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  !insertmacro ForEachRegView "!insertmacro WriteInstallPath"

  ; The keyboard layout; installed again, the module keeps its one layout.
  ExecWait '"$INSTDIR\tvimeist.exe"' $0
  ${If} $0 != 1
    DetailPrint "输入法注册失败 ($0)"
  ${EndIf}
  ; The text service registers itself in a process of its own bitness: tvimeist for the setup's,
  ; the system's 32-bit regsvr32 for the 32-bit one on 64-bit Windows.
  ExecWait '"$INSTDIR\tvimeist.exe" tsf' $0
  ${If} $0 != 1
    DetailPrint "文本服务注册失败 ($0)"
  ${EndIf}
  !if "${ARCH}" == "x64"
    ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /s "$WINDIR\SysWOW64\tvimetsf.dll"' $0
    ${If} $0 != 0
      DetailPrint "32 位文本服务注册失败 ($0)"
    ${EndIf}
  !endif

  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\tvimegui.exe"
  CreateShortcut "${MENU_FOLDER}\词库维护.lnk" "$INSTDIR\tvimedic.exe"
  CreateShortcut "${MENU_FOLDER}\卸载${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${PRODUCT_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tvimegui.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; --- Uninstall ---

Section "-un.program"
  !insertmacro EndRunningProgram
  ; The layout and its place in the user's layout list, and the text service's registration, first,
  ; while tvimeist and the files are still there.
  ExecWait '"$INSTDIR\tvimeist.exe" uninstall'
  ExecWait '"$INSTDIR\tvimeist.exe" uninstall-tsf'
  !if "${ARCH}" == "x64"
    ExecWait '"$WINDIR\SysWOW64\regsvr32.exe" /u /s "$WINDIR\SysWOW64\tvimetsf.dll"'
  !endif

  !if "${ARCH}" == "x64"
    ${DisableX64FSRedirection}
    !insertmacro RemoveFile "$WINDIR\System32\tvime30.ime"
    !insertmacro RemoveFile "$WINDIR\SysWOW64\tvime30.ime"
    !insertmacro RemoveFile "$WINDIR\System32\tvimetsf.dll"
    !insertmacro RemoveFile "$WINDIR\SysWOW64\tvimetsf.dll"
    ${EnableX64FSRedirection}
  !else
    !insertmacro RemoveFile "$SYSDIR\tvime30.ime"
    !insertmacro RemoveFile "$SYSDIR\tvimetsf.dll"
  !endif
  !insertmacro RemoveFile "$INSTDIR\tvimegui.exe"
  !insertmacro RemoveFile "$INSTDIR\tvimedic.exe"
  !insertmacro RemoveFile "$INSTDIR\tvimeup.exe"
  !insertmacro RemoveFile "$INSTDIR\tvimeist.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
  RMDir "$INSTDIR\.."

  Delete "${MENU_FOLDER}\${PRODUCT}.lnk"
  Delete "${MENU_FOLDER}\词库维护.lnk"
  Delete "${MENU_FOLDER}\卸载${PRODUCT}.lnk"
  RMDir "${MENU_FOLDER}"

  ; The decoded dictionaries the programs share are made again by any build: not the user's data.
  SetShellVarContext current
  RMDir /r "$LOCALAPPDATA\tvime\cache"
  RMDir "$LOCALAPPDATA\tvime"
  SetShellVarContext all

  !insertmacro ForEachRegView "!insertmacro DeleteProductKeys"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Off unless ticked: the user's words and settings outlive the program.
Section /o "un.删除我的词库和设置" UserData
  SetShellVarContext current
  RMDir /r "$APPDATA\tvime"
  DeleteRegKey HKCU "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Tavrin"
  SetShellVarContext all
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${UserData} "删除您自己的词语 (tvimeusr.txt)、学到的字词顺序 (tvimelrn.txt)、新闻和本用户的全部设置。"
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
