# Writes OUTPUT, the definition of canprog::programVersion(), from VERSION and, when SOURCE_DIR
# is a git checkout, its commit. Run at every build; the file is only rewritten when it changes,
# so that nothing is rebuilt for nothing.
set(text "${VERSION}")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --short HEAD
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE failed ERROR_QUIET)
  if(NOT failed AND commit)
    set(text "${VERSION} (commit ${commit})")
  endif()
endif()
set(source "// Written by ProgramVersion.cmake at build time.
#include \"version/ProgramVersion.h\"

std::string canprog::programVersion() {
    return \"${text}\";
}
")
set(old "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL source)
  file(WRITE "${OUTPUT}" "${source}")
endif()
