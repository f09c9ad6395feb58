# cmake -DPROGRAM=quorvel.exe -DLIMIT=bytes -DOBJDUMP=objdump -P check_program_file.cmake
# The shipped program stays within its size and runs alone and safely: it
# imports only DLLs that Windows always takes from its own folder (its known
# DLLs), never a DLL of the toolchain (libstdc++-6.dll, libgcc_s_*.dll,
# libwinpthread-1.dll) or one that a file beside the program could stand in
# for (dwmapi.dll, say). Others are loaded from the system folder at run time.
cmake_minimum_required(VERSION 3.25)
set(known advapi32 comdlg32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 psapi shell32 shlwapi
          user32 ws2_32)
file(SIZE "${PROGRAM}" size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${PROGRAM} is ${size} bytes, more than ${LIMIT}")
endif()
execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}" OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "DLL Name: [^\r\n]*" imports "${dump}")
if(NOT imports)
  message(FATAL_ERROR "${PROGRAM}: no imports were found")
endif()
foreach(import IN LISTS imports)
  string(REGEX REPLACE "DLL Name: (.*)\\.[dD][lL][lL]$" "\\1" name "${import}")
  string(TOLOWER "${name}" name)
  if(NOT name IN_LIST known)
    message(FATAL_ERROR "${PROGRAM} imports ${import}, which is not one of Windows' known DLLs")
  endif()
endforeach()
