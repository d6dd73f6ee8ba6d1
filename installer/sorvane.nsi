; Sorvane's installer: a per-user install into %LOCALAPPDATA%\Programs\Sorvane, no administrator
; rights. Built by the CMake target "package", which passes:
;   VERSION       1.2.8            VERSION_QUAD  1.2.8.0
;   ARCH          win32 or win64   FILES         folder holding Sorvane.exe, Sentrel.dll, Sorvane.html
;   ICON          sorvane.ico      OUTFILE       the setup executable to write
;   WINDOW_CLASS  the main window's class   EXIT_COMMAND  the Exit command's identifier
;   (both read from resources/resource.h)
; /S installs silently with the defaults; the uninstaller takes /S too.

Unicode true
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
Caption "${APP} ${VERSION} Setup"
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
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP} now"

!define MUI_WELCOMEPAGE_TEXT "Setup will install ${APP} ${VERSION} for you alone: it needs no administrator rights.$\r$\n$\r$\nIf ${APP} is running, Setup asks it to exit before replacing its files. Your settings are kept.$\r$\n$\r$\nClick Next to continue."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "${APP}'s files, its Start-menu shortcut and its start at sign-in are removed. Your settings stay for a later install unless you tick them too."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Asks a running Sorvane (found by its window class) to exit with the Exit command of its tray
; menu, and waits until its window is gone and the installed executable can be replaced. When it
; does not end in time, says so and stops with exit code 2; a silent run only sets the exit code.
!macro STOP_RUNNING_SORVANE un
Function ${un}StopRunningSorvane
  FindWindow $0 "${WINDOW_CLASS}"
  ${If} $0 = 0
    Return
  ${EndIf}
  DetailPrint "Asking the running ${APP} to exit..."
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
  MessageBox MB_OK|MB_ICONSTOP "${APP} is still running and did not exit when asked.$\r$\n$\r$\nChoose Exit in the menu of its icon in the notification area, then run this program again." /SD IDOK
  SetErrorLevel 2
  Quit
FunctionEnd
!macroend
!insertmacro STOP_RUNNING_SORVANE ""
!insertmacro STOP_RUNNING_SORVANE "un."

Function .onInit
!if "${ARCH}" == "win64"
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "This is the 64-bit edition of ${APP}, and this Windows is 32-bit.$\r$\n$\r$\nPlease use the 32-bit (win32) installer of ${APP} ${VERSION} instead." /SD IDOK
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
  File "${FILES}\Sorvane.html"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Some of ${APP}'s files in $INSTDIR could not be replaced. Make sure ${APP} is not running, then run this program again." /SD IDOK
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

Section "Start ${APP} when I sign in" SecSignIn
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
  Delete "$INSTDIR\Sorvane.html"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
SectionEnd

Section /o "un.Your ${APP} settings" UnSecSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd

; Last, so that the entry in Apps & features goes only when everything else has gone.
Section "-un.Entry"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
