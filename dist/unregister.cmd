@echo off
rem Removes what register.cmd wrote for the current user: the URL class
rem TavrinURL, the browser entry Tavrin and its line in RegisteredApplications.
rem Nothing else is touched; what is not there is passed over.
setlocal
set "FAILED="
call :deleteKey "HKCU\Software\Classes\TavrinURL"
call :deleteKey "HKCU\Software\Clients\StartMenuInternet\Tavrin"
reg query "HKCU\Software\RegisteredApplications" /v Tavrin >nul 2>&1
if errorlevel 1 goto done
reg delete "HKCU\Software\RegisteredApplications" /v Tavrin /f >nul
if errorlevel 1 set "FAILED=1"
:done
if defined FAILED goto failed
echo Tavrin‚Ì“o˜^‚ğæ‚èÁ‚µ‚Ü‚µ‚½B
exit /b 0

:deleteKey
reg query "%~1" >nul 2>&1
if errorlevel 1 exit /b 0
reg delete "%~1" /f >nul
if errorlevel 1 set "FAILED=1"
exit /b 0

:failed
echo “o˜^‚Ìˆê•”‚ğæ‚èÁ‚¹‚Ü‚¹‚ñ‚Å‚µ‚½B
exit /b 1
