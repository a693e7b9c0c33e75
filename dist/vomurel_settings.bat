REM 面取り多重線の設定
REM #jww
REM #cd
REM #e
vomurel.exe
