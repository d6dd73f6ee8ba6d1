; The installer's own texts in Italian (see English.nsh, the language of record). UTF-8 with a
; byte-order mark; keep ${APP}, ${VERSION}, $INSTDIR and the line ends $\r$\n as they are.

LangString TEXT_CAPTION ${LANG_ITALIAN} "Installazione di ${APP} ${VERSION}"
LangString TEXT_WELCOME ${LANG_ITALIAN} "Il programma di installazione installerà ${APP} ${VERSION} solo per te: non servono diritti di amministratore.$\r$\n$\r$\nSe ${APP} è in esecuzione, il programma di installazione gli chiederà di chiudersi prima di sostituirne i file. Le tue impostazioni vengono mantenute.$\r$\n$\r$\nFai clic su Avanti per continuare."
LangString TEXT_RUN_NOW ${LANG_ITALIAN} "Avvia ${APP} ora"
LangString TEXT_SECTION_SIGN_IN ${LANG_ITALIAN} "Avvia ${APP} all'accesso"
LangString TEXT_ASKING_TO_EXIT ${LANG_ITALIAN} "Richiesta di chiusura a ${APP} in esecuzione..."
LangString TEXT_STILL_RUNNING ${LANG_ITALIAN} "${APP} è ancora in esecuzione e non si è chiuso quando richiesto.$\r$\n$\r$\nScegli Esci nel menu della sua icona nell'area di notifica, quindi esegui di nuovo questo programma."
LangString TEXT_NEEDS_32_BIT_SETUP ${LANG_ITALIAN} "Questa è l'edizione a 64 bit di ${APP} e questo Windows è a 32 bit.$\r$\n$\r$\nUsa invece il programma di installazione a 32 bit (win32) di ${APP} ${VERSION}."
LangString TEXT_FILES_NOT_REPLACED ${LANG_ITALIAN} "Impossibile sostituire alcuni file di ${APP} in $INSTDIR. Assicurati che ${APP} non sia in esecuzione, quindi esegui di nuovo questo programma."
LangString TEXT_UNINSTALL_CHOICES ${LANG_ITALIAN} "Verranno rimossi i file di ${APP}, il collegamento nel menu Start e l'avvio all'accesso. Le tue impostazioni restano per una futura installazione, a meno che non selezioni anche quelle."
LangString TEXT_SECTION_SETTINGS ${LANG_ITALIAN} "Le tue impostazioni di ${APP}"
