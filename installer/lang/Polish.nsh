; The installer's own texts in Polish (English.nsh is the language of record). UTF-8 with a BOM.

LangString TEXT_CAPTION ${LANG_POLISH} "Instalator programu ${APP} ${VERSION}"
LangString TEXT_WELCOME ${LANG_POLISH} "Instalator zainstaluje program ${APP} ${VERSION} tylko dla Ciebie: nie są do tego potrzebne uprawnienia administratora.$\r$\n$\r$\nJeśli program ${APP} jest uruchomiony, instalator poprosi go o zakończenie działania, zanim zastąpi jego pliki. Twoje ustawienia zostaną zachowane.$\r$\n$\r$\nKliknij przycisk Dalej, aby kontynuować."
LangString TEXT_RUN_NOW ${LANG_POLISH} "Uruchom teraz program ${APP}"
LangString TEXT_SECTION_SIGN_IN ${LANG_POLISH} "Uruchamiaj ${APP} po zalogowaniu"
LangString TEXT_ASKING_TO_EXIT ${LANG_POLISH} "Prośba o zakończenie działania uruchomionego programu ${APP}..."
LangString TEXT_STILL_RUNNING ${LANG_POLISH} "Program ${APP} jest nadal uruchomiony i mimo prośby nie zakończył działania.$\r$\n$\r$\nWybierz polecenie Zakończ w menu jego ikony w obszarze powiadomień, a następnie ponownie uruchom ten program."
LangString TEXT_NEEDS_32_BIT_SETUP ${LANG_POLISH} "To jest 64-bitowa wersja programu ${APP}, a ten system Windows jest 32-bitowy.$\r$\n$\r$\nUżyj zamiast niej 32-bitowego instalatora (win32) programu ${APP} ${VERSION}."
LangString TEXT_FILES_NOT_REPLACED ${LANG_POLISH} "Nie można zastąpić niektórych plików programu ${APP} w folderze $INSTDIR. Upewnij się, że program ${APP} nie jest uruchomiony, a następnie ponownie uruchom ten program."
LangString TEXT_UNINSTALL_CHOICES ${LANG_POLISH} "Pliki programu ${APP}, jego skrót w menu Start i uruchamianie po zalogowaniu zostaną usunięte. Twoje ustawienia pozostaną na potrzeby późniejszej instalacji, chyba że je również zaznaczysz."
LangString TEXT_SECTION_SETTINGS ${LANG_POLISH} "Twoje ustawienia programu ${APP}"
