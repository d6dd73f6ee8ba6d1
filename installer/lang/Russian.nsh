; The installer's own texts in Russian, translated from English.nsh (the language of record):
; UTF-8 with a byte-order mark; ${APP}, ${VERSION}, $INSTDIR and $\r$\n kept as they are.

LangString TEXT_CAPTION ${LANG_RUSSIAN} "Установка ${APP} ${VERSION}"
LangString TEXT_WELCOME ${LANG_RUSSIAN} "Программа установки установит ${APP} ${VERSION} только для вас: права администратора не нужны.$\r$\n$\r$\nЕсли ${APP} запущен, программа установки попросит его завершить работу перед заменой файлов. Ваши параметры сохранятся.$\r$\n$\r$\nНажмите кнопку «Далее», чтобы продолжить."
LangString TEXT_RUN_NOW ${LANG_RUSSIAN} "Запустить ${APP} сейчас"
LangString TEXT_SECTION_SIGN_IN ${LANG_RUSSIAN} "Запускать ${APP} при входе в систему"
LangString TEXT_ASKING_TO_EXIT ${LANG_RUSSIAN} "Запрос на завершение работы запущенного ${APP}..."
LangString TEXT_STILL_RUNNING ${LANG_RUSSIAN} "${APP} все еще работает и не завершил работу по запросу.$\r$\n$\r$\nВыберите «Выход» в меню его значка в области уведомлений, а затем снова запустите эту программу."
LangString TEXT_NEEDS_32_BIT_SETUP ${LANG_RUSSIAN} "Это 64-разрядный выпуск ${APP}, а эта версия Windows — 32-разрядная.$\r$\n$\r$\nИспользуйте вместо этого 32-разрядную программу установки (win32) ${APP} ${VERSION}."
LangString TEXT_FILES_NOT_REPLACED ${LANG_RUSSIAN} "Не удалось заменить некоторые файлы ${APP} в папке $INSTDIR. Убедитесь, что ${APP} не запущен, и снова запустите эту программу."
LangString TEXT_UNINSTALL_CHOICES ${LANG_RUSSIAN} "Файлы ${APP}, его ярлык в меню «Пуск» и запуск при входе в систему будут удалены. Ваши параметры сохранятся для следующей установки, если вы не отметите и их."
LangString TEXT_SECTION_SETTINGS ${LANG_RUSSIAN} "Ваши параметры ${APP}"
