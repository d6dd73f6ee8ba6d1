; The installer's own texts in Chinese (Simplified), translated from English.nsh (the language of
; record): see its header for the rules. Saved as UTF-8 with a byte-order mark.

LangString TEXT_CAPTION ${LANG_SIMPCHINESE} "${APP} ${VERSION} 安装"
LangString TEXT_WELCOME ${LANG_SIMPCHINESE} "安装程序将仅为你安装 ${APP} ${VERSION}，无需管理员权限。$\r$\n$\r$\n如果 ${APP} 正在运行，安装程序会在替换其文件前请求它退出。你的设置将被保留。$\r$\n$\r$\n单击“下一步”继续。"
LangString TEXT_RUN_NOW ${LANG_SIMPCHINESE} "立即启动 ${APP}"
LangString TEXT_SECTION_SIGN_IN ${LANG_SIMPCHINESE} "登录时启动 ${APP}"
LangString TEXT_ASKING_TO_EXIT ${LANG_SIMPCHINESE} "正在请求运行中的 ${APP} 退出..."
LangString TEXT_STILL_RUNNING ${LANG_SIMPCHINESE} "${APP} 仍在运行，且未按请求退出。$\r$\n$\r$\n请在通知区域中 ${APP} 图标的菜单里选择“退出”，然后再次运行此程序。"
LangString TEXT_NEEDS_32_BIT_SETUP ${LANG_SIMPCHINESE} "这是 ${APP} 的 64 位版本，而此 Windows 是 32 位的。$\r$\n$\r$\n请改用 ${APP} ${VERSION} 的 32 位 (win32) 安装程序。"
LangString TEXT_FILES_NOT_REPLACED ${LANG_SIMPCHINESE} "无法替换 $INSTDIR 中 ${APP} 的部分文件。请确认 ${APP} 未在运行，然后再次运行此程序。"
LangString TEXT_UNINSTALL_CHOICES ${LANG_SIMPCHINESE} "将删除 ${APP} 的文件、“开始”菜单快捷方式和登录时启动项。你的设置将保留，供以后安装时使用，除非你也勾选它。"
LangString TEXT_SECTION_SETTINGS ${LANG_SIMPCHINESE} "你的 ${APP} 设置"
