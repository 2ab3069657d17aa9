; Setup for Remote Control: the program under Program Files, Start Menu
; shortcuts, a start at every user's logon and an Add/Remove Programs entry.
; Built by the Windows build's `installer` target, which passes VERSION (the
; project's, a.b.c.d), EXE (the built RemoteControl.exe), OUTFILE, and TARGET
; for a 64-bit build.
;
; Switches: /S installs or uninstalls silently; a silent install starts the
; program again only when it closed a running copy. The uninstaller keeps the
; settings unless asked: a box on its components page, /REMOVESETTINGS with /S.

Unicode true
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinVer.nsh"
!include "WinMessages.nsh"
!include "Sections.nsh"

!ifndef VERSION | EXE | OUTFILE
  !error "makensis needs /DVERSION=a.b.c.d /DEXE=path /DOUTFILE=path"
!endif

!define APP_NAME "Remote Control"
!define PUBLISHER "Tarvel Multimedia"
!define EXE_NAME "RemoteControl.exe"
!define UNINSTALLER "Uninstall.exe"
; The program's main window: class and title are both this (string table).
!define WINDOW_NAME "Remote Control"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Remote Control"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Remote Control"
!define SETTINGS_KEY "Software\Tarvel Multimedia\RI Darer Izaz Ivararadi"
!define VENDOR_KEY "Software\Tarvel Multimedia"
!define VIRTUAL_STORE "Software\Classes\VirtualStore\MACHINE"

Name "${APP_NAME}"
OutFile "${OUTFILE}"
; A 32-bit setup for a 32-bit program: on 64-bit Windows the keys below land
; in the same 32-bit registry view the program reads. The 64-bit build (for
; Wine on hosts without 32-bit support) passes TARGET=amd64-unicode.
!ifdef TARGET
  Target ${TARGET}
  InstallDir "$PROGRAMFILES64\${APP_NAME}"
!else
  InstallDir "$PROGRAMFILES\${APP_NAME}"
!endif
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

; No copyright line: the project states none.
!pragma warning disable 9100
VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP_NAME} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"

!define MUI_ICON "../src/resources/remote_control.ico"
!define MUI_UNICON "../src/resources/remote_control.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP_NAME} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var WasRunning

; ---- shared by setup and uninstaller

; Closes a running copy the way a second start of the program does (WM_CLOSE
; to its main window), then waits until the exe file can be written: a copy
; in another user's session has no window here but still holds the file.
; Leaves "ok" or "busy" on the stack; $WasRunning is 1 when a window was found.
; Uses $0 to $2.
!macro CLOSE_PROGRAM UN
Function ${UN}CloseProgram
  StrCpy $WasRunning 0
  FindWindow $0 "${WINDOW_NAME}" "${WINDOW_NAME}"
  ${If} $0 <> 0
    StrCpy $WasRunning 1
    System::Call "user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0)"
  ${EndIf}
  StrCpy $2 "ok"
  ${IfNot} ${FileExists} "$INSTDIR\${EXE_NAME}"
    Goto done
  ${EndIf}
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${WINDOW_NAME}" "${WINDOW_NAME}"
    ${If} $0 = 0
      ClearErrors
      FileOpen $0 "$INSTDIR\${EXE_NAME}" a
      ${IfNot} ${Errors}
        FileClose $0
        Goto done
      ${EndIf}
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 >= 50
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${APP_NAME} is still running and its file cannot be replaced.$\r$\n$\r$\nClose it (in every user's session), then choose Retry." \
        /SD IDCANCEL IDRETRY retry
      StrCpy $2 "busy"
      Goto done
      retry:
      StrCpy $1 0
    ${EndIf}
    Sleep 100
  ${Loop}
  done:
  Push $2
FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM ""
!insertmacro CLOSE_PROGRAM "un."

; Nothing is touched for a user without administrator rights: on XP a limited
; account gets this far (Vista and 7 ask for elevation first).
!macro REQUIRE_ADMIN WHAT
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP \
      "${WHAT} ${APP_NAME} needs administrator rights.$\r$\n$\r$\nLog on as an administrator and run it again." \
      /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

; ---- setup

Function .onInit
  !insertmacro REQUIRE_ADMIN "Installing"
FunctionEnd

; The program runs as the user, not elevated with the setup: an elevated
; copy would be out of reach of the next start's WM_CLOSE. Explorer starts
; it with the user's own rights; XP has no elevation.
Function StartProgram
  ${If} ${AtLeastWinVista}
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\${EXE_NAME}"'
  ${Else}
    Exec '"$INSTDIR\${EXE_NAME}"'
  ${EndIf}
FunctionEnd

Section "${APP_NAME}" SecProgram
  SectionIn RO
  SetShellVarContext all

  ; Everything that can fail comes before the first change.
  Call CloseProgram
  Pop $0
  ${If} $0 != "ok"
    Abort "${APP_NAME} is still running; nothing was changed."
  ${EndIf}

  SetOutPath "$INSTDIR"
  SetOverwrite on
  ClearErrors
  File "/oname=${EXE_NAME}" "${EXE}"
  ${If} ${Errors}
    Abort "Could not write $INSTDIR\${EXE_NAME}."
  ${EndIf}
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "$SMPROGRAMS\${APP_NAME}"
  CreateShortcut "$SMPROGRAMS\${APP_NAME}\${APP_NAME}.lnk" "$INSTDIR\${EXE_NAME}"
  CreateShortcut "$SMPROGRAMS\${APP_NAME}\Uninstall ${APP_NAME}.lnk" "$INSTDIR\${UNINSTALLER}"

  ; Every user's logon starts it.
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE_NAME}"'

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${EXE_NAME},0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" "$0"

  ; The settings key is the program's own and stays as it is.

  ; A silent update puts back the copy it closed.
  ${If} ${Silent}
  ${AndIf} $WasRunning = 1
    Call StartProgram
  ${EndIf}
SectionEnd

; ---- uninstaller

Section "un.${APP_NAME}" SecUnProgram
  SectionIn RO
  SetShellVarContext all

  Call un.CloseProgram
  Pop $0
  ${If} $0 != "ok"
    Abort "${APP_NAME} is still running; nothing was removed."
  ${EndIf}

  Delete "$INSTDIR\${EXE_NAME}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only if empty: files the user put there stay.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${APP_NAME}\${APP_NAME}.lnk"
  Delete "$SMPROGRAMS\${APP_NAME}\Uninstall ${APP_NAME}.lnk"
  RMDir "$SMPROGRAMS\${APP_NAME}"

  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd

Section /o "un.Also remove my settings (the application the power key starts, the remote)" SecUnSettings
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${VENDOR_KEY}"
  ; On Vista and 7 a copy that ran without elevation kept its values in the
  ; user's VirtualStore; this user's copy goes too (other users' stay).
  DeleteRegKey HKCU "${VIRTUAL_STORE}\${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "${VIRTUAL_STORE}\${VENDOR_KEY}"
  DeleteRegKey HKCU "${VIRTUAL_STORE}\Software\Wow6432Node\Tarvel Multimedia\RI Darer Izaz Ivararadi"
  DeleteRegKey /ifempty HKCU "${VIRTUAL_STORE}\Software\Wow6432Node\Tarvel Multimedia"
SectionEnd

Function un.onInit
  !insertmacro REQUIRE_ADMIN "Removing"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecUnSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
