# The libraries the Windows build takes from Debian's own packages: fmt (header-only for this
# target), CLI11 and nlohmann-json as their headers, GoogleTest built from Debian's sources.
# Only the three libraries' folders are given to the compiler, never the host's /usr/include.
set(staged ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${staged})
foreach(library fmt CLI nlohmann)
  if(NOT EXISTS ${staged}/${library})
    file(CREATE_LINK /usr/include/${library} ${staged}/${library} SYMBOLIC)
  endif()
endforeach()

add_library(fmt::fmt INTERFACE IMPORTED)
target_include_directories(fmt::fmt SYSTEM INTERFACE ${staged})
target_compile_definitions(fmt::fmt INTERFACE FMT_HEADER_ONLY)
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${staged})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${staged})
set(fmt_FOUND TRUE)
set(CLI11_FOUND TRUE)
set(nlohmann_json_FOUND TRUE)

if(CANPROG_BUILD_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Debian's sources name their targets GTest::gtest and GTest::gtest_main already.
  set(GTest_FOUND TRUE)
endif()
