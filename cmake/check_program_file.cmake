# cmake -DPROGRAM=quorvel.exe -DLIMIT=bytes -DOBJDUMP=objdump -P check_program_file.cmake
# The shipped program stays within its size and runs alone: it imports no DLL
# of the toolchain (libstdc++-6.dll, libgcc_s_*.dll, libwinpthread-1.dll).
file(SIZE "${PROGRAM}" size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${PROGRAM} is ${size} bytes, more than ${LIMIT}")
endif()
execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}" OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "DLL Name: lib[^\n]*" toolchain_dlls "${dump}")
string(REPLACE "DLL Name: " "" toolchain_dlls "${toolchain_dlls}")
if(NOT dump MATCHES "DLL Name: " OR toolchain_dlls)
  message(FATAL_ERROR "${PROGRAM} needs ${toolchain_dlls} (or no imports were found)")
endif()
