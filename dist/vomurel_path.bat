REM 面取り多重線（連続指示）
REM #jww
REM #cd
REM #zw
REM #99# 線の通る点を順に指示してください
REM #e
vomurel.exe 2
