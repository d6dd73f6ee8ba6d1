; The installer's own texts in Spanish (see English.nsh, the language of record). UTF-8 with a
; byte-order mark; keep ${APP}, ${VERSION}, $INSTDIR and the line ends $\r$\n as they are.

LangString TEXT_CAPTION ${LANG_SPANISH} "Instalación de ${APP} ${VERSION}"
LangString TEXT_WELCOME ${LANG_SPANISH} "El programa de instalación instalará ${APP} ${VERSION} solo para ti: no necesita derechos de administrador.$\r$\n$\r$\nSi ${APP} se está ejecutando, el programa de instalación le pedirá que se cierre antes de reemplazar sus archivos. Tu configuración se conserva.$\r$\n$\r$\nHaz clic en Siguiente para continuar."
LangString TEXT_RUN_NOW ${LANG_SPANISH} "Iniciar ${APP} ahora"
LangString TEXT_SECTION_SIGN_IN ${LANG_SPANISH} "Iniciar ${APP} al iniciar sesión"
LangString TEXT_ASKING_TO_EXIT ${LANG_SPANISH} "Pidiendo a ${APP}, que está en ejecución, que se cierre..."
LangString TEXT_STILL_RUNNING ${LANG_SPANISH} "${APP} sigue en ejecución y no se cerró cuando se le pidió.$\r$\n$\r$\nElige Salir en el menú de su icono en el área de notificación y vuelve a ejecutar este programa."
LangString TEXT_NEEDS_32_BIT_SETUP ${LANG_SPANISH} "Esta es la edición de 64 bits de ${APP}, y este Windows es de 32 bits.$\r$\n$\r$\nUsa en su lugar el instalador de 32 bits (win32) de ${APP} ${VERSION}."
LangString TEXT_FILES_NOT_REPLACED ${LANG_SPANISH} "No se pudieron reemplazar algunos archivos de ${APP} en $INSTDIR. Asegúrate de que ${APP} no se esté ejecutando y vuelve a ejecutar este programa."
LangString TEXT_UNINSTALL_CHOICES ${LANG_SPANISH} "Se quitarán los archivos de ${APP}, su acceso directo del menú Inicio y su inicio al iniciar sesión. Tu configuración se conserva para una instalación posterior, a menos que también la marques."
LangString TEXT_SECTION_SETTINGS ${LANG_SPANISH} "Tu configuración de ${APP}"
