@echo off
rem Removes what register.cmd wrote for the current user: the URL class
rem TavrinURL, the shortcut class TavrinShortcut, the browser entry Tavrin
rem (with its http, https, mailto and .url capabilities) and its line in
rem RegisteredApplications. Nothing else is touched; what is not there is
rem passed over. Its one line of output is plain ASCII, which reads right in
rem any console code page.
setlocal
set "FAILED="
call :deleteKey "HKCU\Software\Classes\TavrinURL"
call :deleteKey "HKCU\Software\Classes\TavrinShortcut"
call :deleteKey "HKCU\Software\Clients\StartMenuInternet\Tavrin"
reg query "HKCU\Software\RegisteredApplications" /v Tavrin >nul 2>&1
if errorlevel 1 goto done
reg delete "HKCU\Software\RegisteredApplications" /v Tavrin /f >nul
if errorlevel 1 set "FAILED=1"
:done
if defined FAILED goto failed
echo Tavrin: registration removed
exit /b 0

:deleteKey
reg query "%~1" >nul 2>&1
if errorlevel 1 exit /b 0
reg delete "%~1" /f >nul
if errorlevel 1 set "FAILED=1"
exit /b 0

:failed
echo Tavrin: part of the registration could not be removed
exit /b 1
