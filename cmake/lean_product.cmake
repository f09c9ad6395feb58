# The shipped program without the parts of the C++ runtime it does not use.
#
# quorvel_lean_product(TARGET) compiles TARGET and every library of this
# project it links without exception support: nothing in the program catches,
# and without it the static exe leaves out the unwinder, the exception runtime
# and the thread layer they bring (platform/win32/lean_runtime.cpp does the rest at
# link time). The options are PRIVATE to each library, so the test programs
# that link the same libraries keep exceptions in their own code; the
# libraries never need to throw for them.
function(quorvel_lean_product target)
  set(options $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions>)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # i686 tables serve only C++ exceptions (Windows' own unwinding on x86
    # does not read them). x86_64 keeps its tables: the system unwinds
    # through every frame with them.
    list(APPEND options $<$<COMPILE_LANGUAGE:CXX>:-fno-asynchronous-unwind-tables>)
  endif()
  set(pending ${target})
  set(done)
  while(pending)
    list(POP_FRONT pending next)
    if(NOT TARGET ${next} OR next IN_LIST done)
      continue()
    endif()
    get_target_property(imported ${next} IMPORTED)
    get_target_property(type ${next} TYPE)
    if(imported OR type STREQUAL "INTERFACE_LIBRARY")
      continue()
    endif()
    list(APPEND done ${next})
    target_compile_options(${next} PRIVATE ${options})
    get_target_property(libraries ${next} LINK_LIBRARIES)
    if(libraries)
      list(APPEND pending ${libraries})
    endif()
  endwhile()
endfunction()
