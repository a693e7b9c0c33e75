REM 面取り多重線（2点指示）
REM #jww
REM #cd
REM #zw
REM #1- 始点を指示してください
REM #2 終点を指示してください
REM #hr
REM #e
vomurel.exe 1
