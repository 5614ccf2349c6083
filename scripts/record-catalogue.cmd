@echo off
rem Records the paint-order catalogue on this Windows machine, into docs\paint-order.windows-VERSION.md.
rem Needs Visual Studio 2022 with its C++ tools and CMake, and GOOGLETEST_SOURCE_DIR set to GoogleTest's source.
setlocal
cd /d "%~dp0.."
if "%GOOGLETEST_SOURCE_DIR%"=="" (
  echo Set GOOGLETEST_SOURCE_DIR to a copy of GoogleTest's source, such as C:\src\googletest, and run this again. 1>&2
  exit /b 1
)
cmake --preset windows-msvc-tests "-DGOOGLETEST_SOURCE_DIR=%GOOGLETEST_SOURCE_DIR%" || goto failed
cmake --build --preset windows-msvc-tests --target paint_order_tests || goto failed
set "MORAVANE_WRITE_CATALOGUE=%CD%\docs\"
build\windows-msvc-tests\bin\Release\paint_order_tests.exe --gtest_filter=PaintOrderCatalogue.* || goto failed
exit /b 0
:failed
echo Recording the catalogue failed; the output above says where. 1>&2
exit /b 1
