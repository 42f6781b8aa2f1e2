@echo off
rem Removes the registration of x86\quorlex.dll: register.cmd does the work, with /u.
rem Exit status as register.cmd's (without "call", so it is register.cmd's own).
"%~dp0register.cmd" /u
