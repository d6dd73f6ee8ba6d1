; The installer's own texts in French, translated from English.nsh (the language of record):
; its header says what to keep. Saved as UTF-8 with a byte-order mark; the space before ":" is a
; no-break space (U+00A0).

LangString TEXT_CAPTION ${LANG_FRENCH} "Installation de ${APP} ${VERSION}"
LangString TEXT_WELCOME ${LANG_FRENCH} "Le programme d'installation va installer ${APP} ${VERSION} pour vous uniquement : aucun droit d'administrateur n'est nécessaire.$\r$\n$\r$\nSi ${APP} est en cours d'exécution, le programme d'installation lui demande de se fermer avant de remplacer ses fichiers. Vos paramètres sont conservés.$\r$\n$\r$\nCliquez sur Suivant pour continuer."
LangString TEXT_RUN_NOW ${LANG_FRENCH} "Démarrer ${APP} maintenant"
LangString TEXT_SECTION_SIGN_IN ${LANG_FRENCH} "Démarrer ${APP} quand je me connecte"
LangString TEXT_ASKING_TO_EXIT ${LANG_FRENCH} "Demande de fermeture de ${APP} en cours d'exécution..."
LangString TEXT_STILL_RUNNING ${LANG_FRENCH} "${APP} est toujours en cours d'exécution et ne s'est pas fermé à la demande.$\r$\n$\r$\nChoisissez Quitter dans le menu de son icône dans la zone de notification, puis exécutez de nouveau ce programme."
LangString TEXT_NEEDS_32_BIT_SETUP ${LANG_FRENCH} "Ceci est l'édition 64 bits de ${APP}, et cette version de Windows est en 32 bits.$\r$\n$\r$\nUtilisez plutôt le programme d'installation 32 bits (win32) de ${APP} ${VERSION}."
LangString TEXT_FILES_NOT_REPLACED ${LANG_FRENCH} "Certains fichiers de ${APP} dans $INSTDIR n'ont pas pu être remplacés. Vérifiez que ${APP} n'est pas en cours d'exécution, puis exécutez de nouveau ce programme."
LangString TEXT_UNINSTALL_CHOICES ${LANG_FRENCH} "Les fichiers de ${APP}, son raccourci dans le menu Démarrer et son démarrage à la connexion sont supprimés. Vos paramètres sont conservés pour une installation ultérieure, sauf si vous les cochez aussi."
LangString TEXT_SECTION_SETTINGS ${LANG_FRENCH} "Vos paramètres de ${APP}"
