; The installer's own texts in Japanese, translated from English.nsh (the language of record):
; see its header for the rules. Saved as UTF-8 with a byte-order mark.

LangString TEXT_CAPTION ${LANG_JAPANESE} "${APP} ${VERSION} セットアップ"
LangString TEXT_WELCOME ${LANG_JAPANESE} "セットアップは ${APP} ${VERSION} を現在のユーザー専用にインストールします。管理者権限は必要ありません。$\r$\n$\r$\n${APP} が実行中の場合、セットアップはファイルを置き換える前に ${APP} に終了を求めます。設定はそのまま保持されます。$\r$\n$\r$\n続行するには [次へ] をクリックしてください。"
LangString TEXT_RUN_NOW ${LANG_JAPANESE} "${APP} を今すぐ起動する"
LangString TEXT_SECTION_SIGN_IN ${LANG_JAPANESE} "サインイン時に ${APP} を起動する"
LangString TEXT_ASKING_TO_EXIT ${LANG_JAPANESE} "実行中の ${APP} に終了を求めています..."
LangString TEXT_STILL_RUNNING ${LANG_JAPANESE} "${APP} はまだ実行中で、終了の要求に応じませんでした。$\r$\n$\r$\n通知領域にある ${APP} のアイコンのメニューで [終了] を選択してから、このプログラムをもう一度実行してください。"
LangString TEXT_NEEDS_32_BIT_SETUP ${LANG_JAPANESE} "これは ${APP} の 64 ビット版ですが、この Windows は 32 ビットです。$\r$\n$\r$\n代わりに ${APP} ${VERSION} の 32 ビット (win32) インストーラーを使用してください。"
LangString TEXT_FILES_NOT_REPLACED ${LANG_JAPANESE} "$INSTDIR にある ${APP} のファイルの一部を置き換えられませんでした。${APP} が実行されていないことを確認してから、このプログラムをもう一度実行してください。"
LangString TEXT_UNINSTALL_CHOICES ${LANG_JAPANESE} "${APP} のファイル、スタート メニューのショートカット、サインイン時の起動が削除されます。設定は、これもチェックしない限り、後で再インストールするときのために残ります。"
LangString TEXT_SECTION_SETTINGS ${LANG_JAPANESE} "${APP} の設定"
