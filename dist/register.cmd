@echo off
rem Registers the Tavrin.exe beside this file as a web browser for http,
rem https and mailto links and as a program for .url files (Internet
rem shortcuts), for the current user only (HKCU; no administrator rights).
rem Windows then lists Tavrin among the web browsers and in its default
rem apps; once it is chosen there, the links that other programs open reach
rem Tavrin. unregister.cmd removes exactly the keys written here. Run it
rem again after moving the folder.
rem It then opens Windows' default-apps page of Tavrin and lets
rem "TavrinCheck.exe doctor" tell what still keeps links from Tavrin: the
rem check tool writes to the console in its own code page, which the echo
rem lines of a batch file cannot, so this file says next to nothing itself.
rem Each step is tested with "if errorlevel", which every cmd honours.
setlocal DisableDelayedExpansion
set "EXE=%~dp0Tavrin.exe"
set "STATUS=1"
if not exist "%EXE%" goto doctor
rem In the command values below the path stands outside the quotes as
rem cmd counts them ("\"" opens and closes): escape the characters of a
rem path that cmd would act on there.
set "BARE=%EXE:^=^^%"
set "BARE=%BARE:&=^&%"

set "CLASS=HKCU\Software\Classes\TavrinURL"
set "SHORTCUT=HKCU\Software\Classes\TavrinShortcut"
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

rem The class of .url files: Tavrin reads the URL inside the shortcut.
reg add "%SHORTCUT%" /ve /d "Tavrin Internet Shortcut" /f >nul
if errorlevel 1 goto failed
reg add "%SHORTCUT%\DefaultIcon" /ve /d "%EXE%,0" /f >nul
if errorlevel 1 goto failed
reg add "%SHORTCUT%\shell\open\command" /ve /d "\"%BARE%\" \"%%1\"" /f >nul
if errorlevel 1 goto failed

rem The browser entry and its capabilities: http, https and mailto by the
rem URL class, .url files by the shortcut class.
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
reg add "%CLIENT%\Capabilities\URLAssociations" /v mailto /d TavrinURL /f >nul
if errorlevel 1 goto failed
reg add "%CLIENT%\Capabilities\FileAssociations" /v .url /d TavrinShortcut /f >nul
if errorlevel 1 goto failed
reg add "HKCU\Software\RegisteredApplications" /v Tavrin /d "Software\Clients\StartMenuInternet\Tavrin\Capabilities" /f >nul
if errorlevel 1 goto failed

set "STATUS=0"

rem Windows 8 and later have a default-apps page of their own for Tavrin.
reg query "HKCR\ms-settings" >nul 2>&1
if errorlevel 1 goto doctor
start "" "ms-settings:defaultapps?registeredAppUser=Tavrin"
goto doctor

:failed
rem The doctor names the keys that are missing.

:doctor
if not exist "%~dp0TavrinCheck.exe" goto alone
"%~dp0TavrinCheck.exe" doctor
exit /b %STATUS%

:alone
if "%STATUS%"=="0" echo Tavrin: registered "%EXE%"
if not "%STATUS%"=="0" echo Tavrin: not registered (is Tavrin.exe in "%~dp0"?)
exit /b %STATUS%
