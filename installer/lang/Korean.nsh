; The installer's own texts in Korean (English.nsh is the language of record). UTF-8 with a BOM.

LangString TEXT_CAPTION ${LANG_KOREAN} "${APP} ${VERSION} 설치"
LangString TEXT_WELCOME ${LANG_KOREAN} "설치 프로그램이 ${APP} ${VERSION}을(를) 현재 사용자 전용으로 설치합니다. 관리자 권한은 필요하지 않습니다.$\r$\n$\r$\n${APP}이 실행 중이면 설치 프로그램이 파일을 바꾸기 전에 종료를 요청합니다. 설정은 그대로 유지됩니다.$\r$\n$\r$\n계속하려면 [다음]을 클릭하세요."
LangString TEXT_RUN_NOW ${LANG_KOREAN} "지금 ${APP} 시작"
LangString TEXT_SECTION_SIGN_IN ${LANG_KOREAN} "로그인할 때 ${APP} 시작"
LangString TEXT_ASKING_TO_EXIT ${LANG_KOREAN} "실행 중인 ${APP}에 종료를 요청하는 중..."
LangString TEXT_STILL_RUNNING ${LANG_KOREAN} "${APP}이 아직 실행 중이며 종료 요청을 받고도 종료되지 않았습니다.$\r$\n$\r$\n알림 영역에 있는 아이콘의 메뉴에서 끝내기를 선택한 후 이 프로그램을 다시 실행하세요."
LangString TEXT_NEEDS_32_BIT_SETUP ${LANG_KOREAN} "이 프로그램은 ${APP}의 64비트 버전이지만 이 Windows는 32비트입니다.$\r$\n$\r$\n대신 ${APP} ${VERSION}의 32비트(win32) 설치 프로그램을 사용하세요."
LangString TEXT_FILES_NOT_REPLACED ${LANG_KOREAN} "$INSTDIR에 있는 ${APP} 파일 중 일부를 바꿀 수 없습니다. ${APP}이 실행 중이 아닌지 확인한 후 이 프로그램을 다시 실행하세요."
LangString TEXT_UNINSTALL_CHOICES ${LANG_KOREAN} "${APP} 파일, 시작 메뉴 바로 가기 및 로그인할 때 시작하는 설정이 제거됩니다. 사용자 설정은 함께 선택하지 않으면 나중에 다시 설치할 때를 위해 남겨 둡니다."
LangString TEXT_SECTION_SETTINGS ${LANG_KOREAN} "${APP} 사용자 설정"
