# Writes OUT, a header defining ROOTSIM_VERSION as the commit the sources
# were built from (with "-dirty" when they differ from it), and rewrites it
# only when that changes.
execute_process(COMMAND git -C "${SRC}" describe --always --dirty --abbrev=12
                OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE failed ERROR_QUIET)
if(failed OR version STREQUAL "")
  set(version "unknown")
endif()
set(text "#define ROOTSIM_VERSION \"${version}\"\n")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
