@echo off
rem Registers the Tavrin.exe beside this file as a web browser for http and
rem https, for the current user only (HKCU; no administrator rights). Windows
rem then lists Tavrin among the web browsers; once it is chosen there, the
rem web links that other programs open reach Tavrin. unregister.cmd removes
rem exactly the keys written here. Run it again after moving the folder.
rem Each step is tested with "if errorlevel", which every cmd honours.
setlocal DisableDelayedExpansion
set "EXE=%~dp0Tavrin.exe"
if not exist "%EXE%" goto missing
rem In the two command values below the path stands outside the quotes as
rem cmd counts them ("\"" opens and closes): escape the characters of a
rem path that cmd would act on there.
set "BARE=%EXE:^=^^%"
set "BARE=%BARE:&=^&%"

set "CLASS=HKCU\Software\Classes\TavrinURL"
set "CLIENT=HKCU\Software\Clients\StartMenuInternet\Tavrin"

rem The URL class: what Windows runs for a link once Tavrin is chosen.
reg add "%CLASS%" /ve /d "Tavrin URL" /f >nul
if errorlevel 1 goto failed
reg add "%CLASS%" /v "URL Protocol" /f >nul
if errorlevel 1 goto failed
reg add "%CLASS%\DefaultIcon" /ve /d "%EXE%,0" /f >nul
if errorlevel 1 goto failed
reg add "%CLASS%\shell\open\command" /ve /d "\"%BARE%\" \"%%1\"" /f >nul
if errorlevel 1 goto failed

rem The browser entry and its capabilities: http and https by that class.
reg add "%CLIENT%" /ve /d "Tavrin" /f >nul
if errorlevel 1 goto failed
reg add "%CLIENT%\DefaultIcon" /ve /d "%EXE%,0" /f >nul
if errorlevel 1 goto failed
reg add "%CLIENT%\shell\open\command" /ve /d "\"%BARE%\"" /f >nul
if errorlevel 1 goto failed
reg add "%CLIENT%\Capabilities" /v ApplicationName /d "Tavrin" /f >nul
if errorlevel 1 goto failed
reg add "%CLIENT%\Capabilities" /v ApplicationDescription /d "Opens URLs with the programs chosen by site and extension" /f >nul
if errorlevel 1 goto failed
reg add "%CLIENT%\Capabilities" /v ApplicationIcon /d "%EXE%,0" /f >nul
if errorlevel 1 goto failed
reg add "%CLIENT%\Capabilities\URLAssociations" /v http /d TavrinURL /f >nul
if errorlevel 1 goto failed
reg add "%CLIENT%\Capabilities\URLAssociations" /v https /d TavrinURL /f >nul
if errorlevel 1 goto failed
reg add "HKCU\Software\RegisteredApplications" /v Tavrin /d "Software\Clients\StartMenuInternet\Tavrin\Capabilities" /f >nul
if errorlevel 1 goto failed

echo TavrinをWebブラウザとして登録しました: "%EXE%"
echo Windowsの設定の「既定のアプリ」でWebブラウザにTavrinを選ぶと、ほかのプログラムで開いたWebのリンクがTavrinに届きます。
exit /b 0

:missing
echo このフォルダーにTavrin.exeがありません: "%~dp0"
exit /b 1

:failed
echo 登録できませんでした。unregister.cmdで書きかけの登録を消してください。
exit /b 1
