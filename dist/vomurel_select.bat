REM 面取り多重線（選択した線に作図）
REM #jww
REM #cd
REM #zw
REM #h1
REM #hc 壁にする中心線を範囲選択してください
REM #hr
REM #e
vomurel.exe select
