@echo off
rem Installs "Inkharbor", the PostScript printer that the Quillset add-in prints
rem through, on Windows XP and Server 2003 (major version 5). Brenmoor.exe starts
rem it hidden from its own folder; it needs administrator rights and shows nothing.

rem Keep every variable local to this run.
setlocal
rem The printer name the add-in prints to: it must stay exactly this.
set PRINTER=Inkharbor
rem Where the spooler keeps its printers: the test that the printer exists.
set PRINTERS_KEY=HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers
rem The system's printer installer, 64-bit when a 32-bit setup runs on 64-bit Windows.
set RUNDLL=%SystemRoot%\System32\rundll32.exe
rem Sysnative is visible only to 32-bit programs on 64-bit Windows.
if exist "%SystemRoot%\Sysnative\rundll32.exe" set RUNDLL=%SystemRoot%\Sysnative\rundll32.exe
rem Every program by its full path: this runs elevated, and the current directory
rem or PATH must not decide what "reg" means.
set REG=%SystemRoot%\System32\reg.exe

rem Remove an earlier Inkharbor quietly (/q: no message if there is none), so that
rem a second run replaces it instead of adding "Inkharbor (Copy 1)".
"%RUNDLL%" printui.dll,PrintUIEntry /dl /n "%PRINTER%" /q
rem Every printui call is quiet (/q): an error box would wait for an answer that
rem nobody gives (this runs hidden, often unattended), and the next line would never run.
rem Install it as a local printer (/b name) on the FILE: port, which only prints to
rem a file (the add-in names the file), with XP's in-box PostScript driver.
"%RUNDLL%" printui.dll,PrintUIEntry /if /b "%PRINTER%" /f "%WINDIR%\inf\ntprint.inf" /r "FILE:" /m "MS Publisher Imagesetter" /q
rem Done when the spooler knows the printer now (errorlevel, not "&&": some
rem command interpreters run what follows "&&" whatever the program returned).
"%REG%" query "%PRINTERS_KEY%\%PRINTER%" >nul 2>&1
if not errorlevel 1 goto done
rem A Windows that calls itself 10 or later (a compatibility layer) has no
rem Imagesetter; its in-box PostScript class driver does the same job.
"%RUNDLL%" printui.dll,PrintUIEntry /if /b "%PRINTER%" /f "%WINDIR%\inf\ntprint.inf" /r "FILE:" /m "Microsoft PS Class Driver" /q

rem Nothing else to do.
:done
rem Leave the caller's environment as it was.
endlocal
