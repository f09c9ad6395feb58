# The tests and tools of the program use Windows functions newer than the
# program's oldest Windows (per-monitor DPI, for one): their folders see every
# declaration.
get_directory_property(definitions COMPILE_DEFINITIONS)
list(FILTER definitions EXCLUDE REGEX "^(_WIN32_WINNT|WINVER)=")
list(APPEND definitions _WIN32_WINNT=0x0A00 WINVER=0x0A00)
set_directory_properties(PROPERTIES COMPILE_DEFINITIONS "${definitions}")
