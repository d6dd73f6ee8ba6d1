; The installer's own texts in Portuguese (Brazil), translated from English.nsh (the language of
; record): UTF-8 with a byte-order mark; ${APP}, ${VERSION}, $INSTDIR and $\r$\n kept as they are.

LangString TEXT_CAPTION ${LANG_PORTUGUESEBR} "Instalação do ${APP} ${VERSION}"
LangString TEXT_WELCOME ${LANG_PORTUGUESEBR} "O instalador vai instalar o ${APP} ${VERSION} só para você: não são necessários direitos de administrador.$\r$\n$\r$\nSe o ${APP} estiver em execução, o instalador pedirá que ele seja fechado antes de substituir os arquivos. Suas configurações são mantidas.$\r$\n$\r$\nClique em Próximo para continuar."
LangString TEXT_RUN_NOW ${LANG_PORTUGUESEBR} "Iniciar o ${APP} agora"
LangString TEXT_SECTION_SIGN_IN ${LANG_PORTUGUESEBR} "Iniciar o ${APP} quando eu entrar"
LangString TEXT_ASKING_TO_EXIT ${LANG_PORTUGUESEBR} "Pedindo ao ${APP} em execução que seja fechado..."
LangString TEXT_STILL_RUNNING ${LANG_PORTUGUESEBR} "O ${APP} ainda está em execução e não foi fechado quando solicitado.$\r$\n$\r$\nEscolha Sair no menu do ícone dele na área de notificação e execute este programa novamente."
LangString TEXT_NEEDS_32_BIT_SETUP ${LANG_PORTUGUESEBR} "Esta é a edição de 64 bits do ${APP}, e este Windows é de 32 bits.$\r$\n$\r$\nUse o instalador de 32 bits (win32) do ${APP} ${VERSION} em vez deste."
LangString TEXT_FILES_NOT_REPLACED ${LANG_PORTUGUESEBR} "Não foi possível substituir alguns arquivos do ${APP} em $INSTDIR. Verifique se o ${APP} não está em execução e execute este programa novamente."
LangString TEXT_UNINSTALL_CHOICES ${LANG_PORTUGUESEBR} "Os arquivos do ${APP}, o atalho no menu Iniciar e a inicialização ao entrar serão removidos. Suas configurações ficam para uma instalação futura, a menos que você as marque também."
LangString TEXT_SECTION_SETTINGS ${LANG_PORTUGUESEBR} "Suas configurações do ${APP}"
