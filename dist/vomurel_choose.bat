REM 面取り多重線（選んで作図）
REM #jww
REM #cd
REM #zw
REM #1-%d 線の通る点を順に指示
REM #99#
REM #hr
REM #e
vomurel.exe
vomurel.exe 2
