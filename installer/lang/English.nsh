; The installer's own texts in English, the language of record; the pages' standard texts come
; with NSIS's Modern UI in every language. To add a language, copy this file to
; installer/lang/<NSIS language name>.nsh (German.nsh, French.nsh, Spanish.nsh, Italian.nsh,
; PortugueseBR.nsh, Russian.nsh, Polish.nsh, Japanese.nsh, Korean.nsh, SimpChinese.nsh), save it
; as UTF-8 with a byte-order mark, write ${LANG_<NAME>} (${LANG_GERMAN}, ${LANG_PORTUGUESEBR},
; ${LANG_SIMPCHINESE}, ...) for ${LANG_ENGLISH} and translate each text. Keep ${APP}, ${VERSION},
; $INSTDIR and the line ends $\r$\n as they are. A text a language lacks is shown in English.

LangString TEXT_CAPTION ${LANG_ENGLISH} "${APP} ${VERSION} Setup"
LangString TEXT_WELCOME ${LANG_ENGLISH} "Setup will install ${APP} ${VERSION} for you alone: it needs no administrator rights.$\r$\n$\r$\nIf ${APP} is running, Setup asks it to exit before replacing its files. Your settings are kept.$\r$\n$\r$\nClick Next to continue."
LangString TEXT_RUN_NOW ${LANG_ENGLISH} "Start ${APP} now"
LangString TEXT_SECTION_SIGN_IN ${LANG_ENGLISH} "Start ${APP} when I sign in"
LangString TEXT_ASKING_TO_EXIT ${LANG_ENGLISH} "Asking the running ${APP} to exit..."
LangString TEXT_STILL_RUNNING ${LANG_ENGLISH} "${APP} is still running and did not exit when asked.$\r$\n$\r$\nChoose Exit in the menu of its icon in the notification area, then run this program again."
LangString TEXT_NEEDS_32_BIT_SETUP ${LANG_ENGLISH} "This is the 64-bit edition of ${APP}, and this Windows is 32-bit.$\r$\n$\r$\nPlease use the 32-bit (win32) installer of ${APP} ${VERSION} instead."
LangString TEXT_FILES_NOT_REPLACED ${LANG_ENGLISH} "Some of ${APP}'s files in $INSTDIR could not be replaced. Make sure ${APP} is not running, then run this program again."
LangString TEXT_UNINSTALL_CHOICES ${LANG_ENGLISH} "${APP}'s files, its Start-menu shortcut and its start at sign-in are removed. Your settings stay for a later install unless you tick them too."
LangString TEXT_SECTION_SETTINGS ${LANG_ENGLISH} "Your ${APP} settings"
