# cmake -DPROGRAM=quorvel.exe -DLIMIT=bytes -DOBJDUMP=objdump -P check_program_file.cmake
# The shipped program stays within its size and runs alone and safely: it
# imports only DLLs that Windows always takes from its own folder (its known
# DLLs), never a DLL of the toolchain (libstdc++-6.dll, libgcc_s_*.dll,
# libwinpthread-1.dll) or one that a file beside the program could stand in
# for (dwmapi.dll, say). Others are loaded from the system folder at run time.
# And it runs on Windows 7: every function it imports is in windows_imports.txt
# beside this file, with a Windows no newer than 7. Each import is listed.
cmake_minimum_required(VERSION 3.25)
set(known advapi32 comdlg32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 psapi shell32 shlwapi
          user32 ws2_32)
set(windows 2000 XP Vista 7 8 8.1 10)  # oldest first
list(FIND windows 7 oldest)
file(SIZE "${PROGRAM}" size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${PROGRAM} is ${size} bytes, more than ${LIMIT}")
endif()

file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/windows_imports.txt entries REGEX "^[^#]")
foreach(entry IN LISTS entries)
  string(REGEX MATCH "^([^ ]+) +([^ ]+) +([^ ]+)$" ignored "${entry}")
  set("since/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}" "${CMAKE_MATCH_3}")
endforeach()

execute_process(COMMAND "${OBJDUMP}" -p "${PROGRAM}" OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
# One line per DLL ("DLL Name: KERNEL32.dll") followed by one per import
# ("<tab>vma<tab>hint  name").
string(REGEX MATCHALL "DLL Name: [^\r\n]*|\n\t[0-9a-f]+\t[^\r\n]*" lines "${dump}")
set(dll)
set(faults)
foreach(line IN LISTS lines)
  if(line MATCHES "^DLL Name: (.*)$")
    string(TOLOWER "${CMAKE_MATCH_1}" dll)
    string(REGEX REPLACE "\\.dll$" "" name "${dll}")
    if(NOT name IN_LIST known)
      message(FATAL_ERROR "${PROGRAM} imports ${CMAKE_MATCH_1}, which is not one of Windows' known DLLs")
    endif()
  elseif(NOT line MATCHES "^\n\t[0-9a-f]+\t +[0-9]+  ([A-Za-z_][A-Za-z0-9_@]*)$")
    string(STRIP "${line}" line)
    list(APPEND faults "${dll}: an import by ordinal or not understood (${line})")
  elseif(NOT DEFINED "since/${dll}/${CMAKE_MATCH_1}")
    list(APPEND faults "${dll} ${CMAKE_MATCH_1}: not in windows_imports.txt")
  else()
    set(since "${since/${dll}/${CMAKE_MATCH_1}}")
    list(FIND windows "${since}" index)
    message(STATUS "${dll} ${CMAKE_MATCH_1}: Windows ${since}")
    if(index LESS 0 OR index GREATER oldest)
      list(APPEND faults "${dll} ${CMAKE_MATCH_1}: Windows ${since}, newer than Windows 7")
    endif()
  endif()
endforeach()
if(NOT dll)
  message(FATAL_ERROR "${PROGRAM}: no imports were found")
endif()
if(faults)
  list(JOIN faults "\n  " faults)
  message(FATAL_ERROR "${PROGRAM} imports what Windows 7 may lack:\n  ${faults}")
endif()
