; The Lumvrex installer, for 32-bit (x86) or 64-bit (x64) Windows from XP on:
; lumvrex.exe, lumvrex-cli.exe and the licence, a Start-menu shortcut, an
; entry in the list of installed programs, and an uninstaller that removes
; all of it. By default for the current user, without administrator rights
; (%LOCALAPPDATA%\Programs\Lumvrex, HKCU); for all users with /ALLUSERS or
; the choice on the first page, when run with those rights.
; scripts/package-windows runs:
;   makensis -DVERSION=1.00 -DARCH=x64|x86 -DSTAGE=<folder with the files> -DICON=<.ico> -DOUTFILE=<setup.exe> lumvrex.nsi
; Silent: setup.exe /S [/CURRENTUSER | /ALLUSERS] [/D=folder], uninstall.exe /S.
; Exit codes: 0 done, 1 cancelled, 2 failed, 32 Lumvrex still running there.

Unicode true
!if "${ARCH}" == "x64"
  ; The 64-bit stub: it runs where 64-bit Windows programs do, and Windows
  ; refuses it elsewhere.
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
ManifestSupportedOS all

!define PRODUCT "Lumvrex"
!define PUBLISHER "The Lumvrex developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; What a silent update returns while the installed Lumvrex runs: Windows'
; ERROR_SHARING_VIOLATION, "used by another process".
!define EXIT_RUNNING 32

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
; An earlier install, for this user or for all, decides the mode and folder.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!if "${ARCH}" == "x64"
  !define MULTIUSER_USE_PROGRAMFILES64
!endif
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
; MultiUser asks for the highest rights the user has, which on Windows Vista
; and later would make every administrator confirm a per-user install; the
; installer starts with the user's own rights instead, and installs for all
; users only when it is run as administrator.
RequestExecutionLevel user

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

VIProductVersion "1.0.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup (${ARCH})"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright 2026 the Lumvrex developers, MIT licence"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var madeParentFolder

Function .onInit
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
  ; A folder given with /D= wins over the one MultiUser picks.
  StrCpy $0 $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Function un.onInit
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; Windows lets no one open a program's file for writing while the program
; runs. $1 becomes the name of the one that runs, or stays as it was.
!macro RunningProgram FILE
  ${If} ${FileExists} "$INSTDIR\${FILE}"
    ClearErrors
    FileOpen $0 "$INSTDIR\${FILE}" a
    ${If} ${Errors}
      StrCpy $1 "${FILE}"
    ${Else}
      FileClose $0
    ${EndIf}
  ${EndIf}
!macroend

; Waits until no Lumvrex runs from $INSTDIR: asks the user to close it, or,
; when silent, gives up after some seconds with exit code EXIT_RUNNING.
Function LumvrexIsClosed
  StrCpy $2 0
  retry:
  StrCpy $1 ""
  !insertmacro RunningProgram "lumvrex.exe"
  !insertmacro RunningProgram "lumvrex-cli.exe"
  ${If} $1 == ""
    Return
  ${EndIf}
  ${If} ${Silent}
    IntOp $2 $2 + 1
    ${If} $2 < 4
      Sleep 1000
      Goto retry
    ${EndIf}
    SetErrorLevel ${EXIT_RUNNING}
    Quit
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Lumvrex ($1) is running from $INSTDIR. Close it, then choose Retry." IDRETRY retry
  SetErrorLevel 1
  Quit
FunctionEnd

; Lumvrex started from the Start menu starts in the user's Documents folder,
; where a bare name typed for the script (MiLibro.pub) then goes, not in
; the install folder. Sets $OUTDIR. For all users the folder is named from
; each user's profile as the installing user's lies in theirs
; ("%USERPROFILE%\Documents"; "My Documents" on XP), which the shell expands
; when it starts the shortcut; only a Documents folder outside the profile
; gives the one shared by all users.
Function ShortcutStartFolder
  ${If} $MultiUser.InstallMode == "AllUsers"
    SetShellVarContext current
    StrCpy $0 "$DOCUMENTS"
    StrCpy $1 "$PROFILE\"
    SetShellVarContext all
    StrLen $2 $1
    StrCpy $3 $0 $2
    ${If} $3 == $1
      StrCpy $3 $0 "" $2
      StrCpy $OUTDIR "%USERPROFILE%\$3"
      Return
    ${EndIf}
  ${EndIf}
  StrCpy $OUTDIR "$DOCUMENTS"
FunctionEnd

Section "Lumvrex"
  Call LumvrexIsClosed
  ; %LOCALAPPDATA%\Programs may be made here: then the uninstaller removes it.
  ${GetParent} "$INSTDIR" $3
  StrCpy $madeParentFolder 0
  ${IfNot} ${FileExists} "$3\*.*"
    StrCpy $madeParentFolder 1
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${STAGE}/lumvrex.exe"
  File "${STAGE}/lumvrex-cli.exe"
  File "${STAGE}/LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; CreateShortcut gives the shortcut $OUTDIR as the folder to start in.
  Call ShortcutStartFolder
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\lumvrex.exe"

  ; SHCTX: HKCU for the current user, HKLM for all users.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lumvrex.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ; An update keeps what the first install found.
  ReadRegDWORD $4 SHCTX "${UNINSTALL_KEY}" "MadeParentFolder"
  ${If} $4 == 1
    StrCpy $madeParentFolder 1
  ${EndIf}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "MadeParentFolder" $madeParentFolder
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\lumvrex.exe"
  Delete "$INSTDIR\lumvrex-cli.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only if empty: files the user put there stay.
  RMDir "$INSTDIR"
  ; The folder around it, if the install made it and it is empty now.
  ReadRegDWORD $0 SHCTX "${UNINSTALL_KEY}" "MadeParentFolder"
  ${If} $0 == 1
    ${GetParent} "$INSTDIR" $1
    RMDir "$1"
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
