# Native build: the portable core with its unit tests (plain and sanitized),
# the Windows builds as sub-builds, and the Wine tests run from here so that
# one CTest run covers everything.
include(ExternalProject)

option(FONTAB_WINDOWS "Build the Windows program and run its tests under Wine" ON)
option(FONTAB_FUZZ "Build the fuzz target with clang and replay its corpus" ON)

enable_testing()
find_package(GTest REQUIRED)
include(GoogleTest)

fontab_add_core(fontab_core)

set(FONTAB_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all
                          -fno-omit-frame-pointer)
fontab_add_core(fontab_core_sanitized)
target_compile_options(fontab_core_sanitized PUBLIC ${FONTAB_SANITIZE_FLAGS})
target_link_options(fontab_core_sanitized PUBLIC ${FONTAB_SANITIZE_FLAGS})

add_subdirectory(tests/unit)
add_subdirectory(bench)

if(FONTAB_WINDOWS)
  foreach(arch x86_64 i686)
    ExternalProject_Add(windows_${arch}
      SOURCE_DIR ${PROJECT_SOURCE_DIR}
      BINARY_DIR ${CMAKE_BINARY_DIR}/windows-${arch}
      CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-${arch}.cmake
                 -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      BUILD_ALWAYS ON
      INSTALL_COMMAND ""
      USES_TERMINAL_BUILD ON)
  endforeach()
  include(tests/wine/register.cmake)
  include(tests/package/register.cmake)
endif()

if(FONTAB_FUZZ)
  include(tests/fuzz/register.cmake)
endif()
