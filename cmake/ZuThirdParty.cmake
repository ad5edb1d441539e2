# Third-party code from the distribution's packages, for both configurations.

include_guard(GLOBAL)

# GoogleTest from its installed sources, built with the configuration's own
# compiler (the cross compiler has no prebuilt copy).
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()
if(NOT TARGET GTest::gmock)
  add_library(GTest::gmock ALIAS gmock)
endif()

# Header-only libraries (nlohmann-json, CLI11, toml++). The cross compiler must
# not see the whole of /usr/include, so their folders are linked into one of
# our own. toml++ is used as headers only (TOML_HEADER_ONLY, its default), not
# through the distribution's shared library, so that the cross build needs
# nothing but its headers.
set(ZU_HEADER_ONLY_DIR ${CMAKE_BINARY_DIR}/header-only)
file(MAKE_DIRECTORY ${ZU_HEADER_ONLY_DIR})
foreach(dir nlohmann CLI toml++)
  if(NOT EXISTS /usr/include/${dir})
    message(FATAL_ERROR "/usr/include/${dir} is missing: run scripts/setup")
  endif()
  if(NOT EXISTS ${ZU_HEADER_ONLY_DIR}/${dir})
    file(CREATE_LINK /usr/include/${dir} ${ZU_HEADER_ONLY_DIR}/${dir} SYMBOLIC)
  endif()
endforeach()
add_library(zu_header_only INTERFACE)
target_include_directories(zu_header_only SYSTEM INTERFACE ${ZU_HEADER_ONLY_DIR})
