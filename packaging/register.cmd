@echo off
rem Registers x86\quorlex.dll, the component the 32-bit capture host loads, with the 32-bit
rem regsvr32: on 64-bit Windows that is the one in SysWOW64, which writes the registry view
rem that 32-bit programs read. "register.cmd /u" removes the registration (unregister.cmd).
rem Exit status: 0 done; 1 to 5 regsvr32's own failure code; 740 not run as administrator;
rem 3 also when x86\quorlex.dll is missing; 9009 when the 32-bit regsvr32 is missing.
setlocal EnableExtensions
set "component=%~dp0x86\quorlex.dll"
set "script=register.cmd"
set "option="
set "doing=Registering"
set "done=registered"
if /i "%~1"=="/u" (
  set "script=unregister.cmd"
  set "option=/u "
  set "doing=Removing the registration of"
  set "done=unregistered"
)

rem A 32-bit cmd on 64-bit Windows reports x86 but also sets PROCESSOR_ARCHITEW6432;
rem SysWOW64 is not redirected, so the path is right from either cmd.
set "regsvr32=%SystemRoot%\System32\regsvr32.exe"
if /i not "%PROCESSOR_ARCHITECTURE%"=="x86" set "regsvr32=%SystemRoot%\SysWOW64\regsvr32.exe"
if defined PROCESSOR_ARCHITEW6432 set "regsvr32=%SystemRoot%\SysWOW64\regsvr32.exe"

rem Started from Explorer ("Run as administrator"), the window would close before the
rem result could be read; Explorer starts scripts as: cmd.exe /c ""path\register.cmd" ".
set "pause_at_end="
setlocal EnableDelayedExpansion
set "command_line=!cmdcmdline!"
set "explorer="
if defined command_line if not "!command_line:/c ""=!"=="!command_line!" set "explorer=1"
endlocal & set "pause_at_end=%explorer%"

rem Both succeed only with administrator rights; net session alone would also fail for an
rem administrator while the Server service is stopped.
fltmc >nul 2>&1 && goto :rights_ok
net session >nul 2>&1 && goto :rights_ok
echo This needs administrator rights, which this window does not have.
echo Right-click %script% and choose "Run as administrator", or run it from a Command Prompt
echo that was opened with "Run as administrator".
set "status=740"
goto :end
:rights_ok

if exist "%component%" goto :component_ok
echo The component is missing: "%component%".
echo Extract the whole package, keeping its folders, and run %script% from there.
set "status=3"
goto :end
:component_ok

echo %doing% "%component%"
echo with "%regsvr32%"
if exist "%regsvr32%" goto :regsvr32_ok
echo The 32-bit regsvr32 is missing: this Windows cannot run 32-bit components.
set "status=9009"
goto :end
:regsvr32_ok

"%regsvr32%" /s %option%"%component%"
set "status=%errorlevel%"
if "%status%"=="0" (
  echo Done: quorlex.dll is %done%.
  goto :end
)
echo Failed: regsvr32 ended with code %status%.
if "%status%"=="1" echo regsvr32 did not accept its command line.
if "%status%"=="2" echo regsvr32 could not start COM ^(OleInitialize failed^).
if "%status%"=="3" echo Windows could not load the component: check the file against SHA256SUMS.
if "%status%"=="4" echo The file is not this component: it has no registration entry point.
if "%status%"=="5" echo The component could not write or remove its registry entries.
echo For Windows' own description of the failure, run, as administrator:
echo   "%regsvr32%" %option%"%component%"

:end
if defined pause_at_end pause
exit /b %status%
