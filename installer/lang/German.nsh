; The installer's own texts in German, translated from English.nsh (the language of record):
; its header says what to keep. Saved as UTF-8 with a byte-order mark.

LangString TEXT_CAPTION ${LANG_GERMAN} "Installation von ${APP} ${VERSION}"
LangString TEXT_WELCOME ${LANG_GERMAN} "Das Setup installiert ${APP} ${VERSION} nur für Sie: Administratorrechte sind nicht erforderlich.$\r$\n$\r$\nWenn ${APP} ausgeführt wird, fordert das Setup das Programm zum Beenden auf, bevor es seine Dateien ersetzt. Ihre Einstellungen bleiben erhalten.$\r$\n$\r$\nKlicken Sie auf „Weiter“, um fortzufahren."
LangString TEXT_RUN_NOW ${LANG_GERMAN} "${APP} jetzt starten"
LangString TEXT_SECTION_SIGN_IN ${LANG_GERMAN} "${APP} beim Anmelden starten"
LangString TEXT_ASKING_TO_EXIT ${LANG_GERMAN} "Das laufende ${APP} wird zum Beenden aufgefordert..."
LangString TEXT_STILL_RUNNING ${LANG_GERMAN} "${APP} wird noch ausgeführt und wurde auf Anforderung nicht beendet.$\r$\n$\r$\nWählen Sie im Menü des ${APP}-Symbols im Infobereich „Beenden“, und führen Sie dieses Programm dann erneut aus."
LangString TEXT_NEEDS_32_BIT_SETUP ${LANG_GERMAN} "Dies ist die 64-Bit-Edition von ${APP}, dieses Windows ist jedoch ein 32-Bit-System.$\r$\n$\r$\nVerwenden Sie stattdessen das 32-Bit-Installationsprogramm (win32) von ${APP} ${VERSION}."
LangString TEXT_FILES_NOT_REPLACED ${LANG_GERMAN} "Einige Dateien von ${APP} in $INSTDIR konnten nicht ersetzt werden. Stellen Sie sicher, dass ${APP} nicht ausgeführt wird, und führen Sie dieses Programm dann erneut aus."
LangString TEXT_UNINSTALL_CHOICES ${LANG_GERMAN} "Die Dateien von ${APP}, die Verknüpfung im Startmenü und der Start beim Anmelden werden entfernt. Ihre Einstellungen bleiben für eine spätere Installation erhalten, sofern Sie sie nicht ebenfalls auswählen."
LangString TEXT_SECTION_SETTINGS ${LANG_GERMAN} "Ihre Einstellungen für ${APP}"
