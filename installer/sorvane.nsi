; Sorvane's installer: a per-user install into %LOCALAPPDATA%\Programs\Sorvane, no administrator
; rights. Built by the CMake target "package", which passes:
;   VERSION       1.2.8            VERSION_QUAD  1.2.8.0
;   ARCH          win32 or win64   FILES         folder holding Sorvane.exe, Sentrel.dll and the
;                                                help pages Sorvane*.html
;   ICON          sorvane.ico      OUTFILE       the setup executable to write
;   WINDOW_CLASS  the main window's class   EXIT_COMMAND  the Exit command's identifier
;   (both read from resources/resource.h)
; /S installs silently with the defaults; the uninstaller takes /S too.
; The pages speak the user's language where the installer has it (English otherwise): the Modern
; UI's texts for each language below, and this script's own from installer/lang/<language>.nsh.

Unicode true
; A language without a file of its own, or lacking one of its texts, shows that text in English.
!pragma warning disable 6040
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include x64.nsh

!define APP "Sorvane"
!define EXE "Sorvane.exe"
!define SETTINGS_KEY "Software\Sorvane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Sorvane"
!define UNINSTALLER "Uninstall.exe"
; How long a running copy gets to exit: its answer to the Exit command, then the wait for its
; window to go and its executable to be free (tenths of a second).
!define EXIT_ANSWER_MS 5000
!define EXIT_WAIT_TENTHS 100

Name "${APP}"
Caption "$(TEXT_CAPTION)"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
; An upgrade goes where the installed copy is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "CompanyName" "${APP}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} Setup (${ARCH})"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" ""

BrandingText "${APP} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "$(TEXT_RUN_NOW)"

!define MUI_WELCOMEPAGE_TEXT "$(TEXT_WELCOME)"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "$(TEXT_UNINSTALL_CHOICES)"
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; English first: the language of record, and the one every missing text comes from.
!macro SORVANE_LANGUAGE NAME
  !insertmacro MUI_LANGUAGE "${NAME}"
!macroend
!macro SORVANE_TEXTS NAME
  !if /FileExists "${__FILEDIR__}\lang\${NAME}.nsh"
    !include "${__FILEDIR__}\lang\${NAME}.nsh"
  !endif
!macroend
!insertmacro SORVANE_LANGUAGE "English"
!insertmacro SORVANE_LANGUAGE "German"
!insertmacro SORVANE_LANGUAGE "French"
!insertmacro SORVANE_LANGUAGE "Spanish"
!insertmacro SORVANE_LANGUAGE "Italian"
!insertmacro SORVANE_LANGUAGE "PortugueseBR"
!insertmacro SORVANE_LANGUAGE "Russian"
!insertmacro SORVANE_LANGUAGE "Polish"
!insertmacro SORVANE_LANGUAGE "Japanese"
!insertmacro SORVANE_LANGUAGE "Korean"
!insertmacro SORVANE_LANGUAGE "SimpChinese"
!insertmacro SORVANE_TEXTS "English"
!insertmacro SORVANE_TEXTS "German"
!insertmacro SORVANE_TEXTS "French"
!insertmacro SORVANE_TEXTS "Spanish"
!insertmacro SORVANE_TEXTS "Italian"
!insertmacro SORVANE_TEXTS "PortugueseBR"
!insertmacro SORVANE_TEXTS "Russian"
!insertmacro SORVANE_TEXTS "Polish"
!insertmacro SORVANE_TEXTS "Japanese"
!insertmacro SORVANE_TEXTS "Korean"
!insertmacro SORVANE_TEXTS "SimpChinese"

; Asks a running Sorvane (found by its window class) to exit with the Exit command of its tray
; menu, and waits until its window is gone and the installed executable can be replaced. When it
; does not end in time, says so and stops with exit code 2; a silent run only sets the exit code.
!macro STOP_RUNNING_SORVANE un
Function ${un}StopRunningSorvane
  FindWindow $0 "${WINDOW_CLASS}"
  ${If} $0 = 0
    Return
  ${EndIf}
  DetailPrint "$(TEXT_ASKING_TO_EXIT)"
  SendMessage $0 ${WM_COMMAND} ${EXIT_COMMAND} 0 /TIMEOUT=${EXIT_ANSWER_MS}
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${WINDOW_CLASS}"
    ${If} $0 = 0
      ; The window goes first; the process lets go of its executable a moment later.
      ${IfNot} ${FileExists} "$INSTDIR\${EXE}"
        Return
      ${EndIf}
      ClearErrors
      FileOpen $2 "$INSTDIR\${EXE}" a
      ${IfNot} ${Errors}
        FileClose $2
        Return
      ${EndIf}
    ${EndIf}
    ${If} $1 >= ${EXIT_WAIT_TENTHS}
      ${ExitDo}
    ${EndIf}
    IntOp $1 $1 + 1
    Sleep 100
  ${Loop}
  MessageBox MB_OK|MB_ICONSTOP "$(TEXT_STILL_RUNNING)" /SD IDOK
  SetErrorLevel 2
  Quit
FunctionEnd
!macroend
!insertmacro STOP_RUNNING_SORVANE ""
!insertmacro STOP_RUNNING_SORVANE "un."

Function .onInit
!if "${ARCH}" == "win64"
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "$(TEXT_NEEDS_32_BIT_SETUP)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!endif
FunctionEnd

Section "${APP}" SecProgram
  SectionIn RO
  Call StopRunningSorvane
  SetOutPath "$INSTDIR"
  ; A file that cannot be written is skipped in a silent run, setting the error flag: an upgrade
  ; that kept an old file must not report success.
  ClearErrors
  File "${FILES}\Sorvane.exe"
  File "${FILES}\Sentrel.dll"
  ; Every language's help page.
  File "${FILES}\Sorvane*.html"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(TEXT_FILES_NOT_REPLACED)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  ; The entry in Apps & features.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "$(TEXT_SECTION_SIGN_IN)" SecSignIn
  WriteRegStr HKCU "${RUN_KEY}" "${APP}" '"$INSTDIR\${EXE}"'
SectionEnd

; Unticking the option on an upgrade turns starting at sign-in off.
Function .onInstSuccess
  ${IfNot} ${SectionIsSelected} ${SecSignIn}
    DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  ${EndIf}
FunctionEnd

; ---- uninstaller

Section "-un.Stop"
  Call un.StopRunningSorvane
SectionEnd

Section "un.${APP}" UnSecProgram
  SectionIn RO
  Delete "$INSTDIR\Sorvane.exe"
  Delete "$INSTDIR\Sentrel.dll"
  Delete "$INSTDIR\Sorvane*.html"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
SectionEnd

Section /o "un.$(TEXT_SECTION_SETTINGS)" UnSecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd

; Last, so that the entry in Apps & features goes only when everything else has gone.
Section "-un.Entry"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
