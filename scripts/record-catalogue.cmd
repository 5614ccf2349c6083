@echo off
rem Builds the recorder with Visual Studio 2022 and records the paint-order catalogue on this Windows machine into
rem docs\windows\, where scripts/catalogue folds it in. Needs Visual Studio 2022 with its C++ tools and CMake.
setlocal
cd /d "%~dp0.."
cmake --preset windows-msvc || goto failed
cmake --build --preset windows-msvc --target MoravaneRecorder || goto failed
if not exist docs\windows mkdir docs\windows
build\windows-msvc\bin\Release\MoravaneRecorder.exe docs\windows
if errorlevel 2 goto failed
exit /b 0
:failed
echo Recording the catalogue failed; the output above says where. 1>&2
exit /b 1
