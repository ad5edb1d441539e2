# One way to declare a folder's library, its tests and the project's programs,
# so that flags are set in one place and a folder reaches another only through
# what it names in DEPENDS.

include_guard(GLOBAL)
include(GoogleTest)

# Warnings, defined once. ZU_WERROR turns them into errors (on by default and
# always under CI).
option(ZU_WERROR "Treat warnings as errors" ON)
set(ZU_WARNINGS -Wall -Wextra)
# GCC 12 reports std::string concatenation at -O2 and above as overlapping
# copies (GCC bug 105329), a false positive.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND ZU_WARNINGS -Wno-restrict)
endif()
if(ZU_WERROR)
  list(APPEND ZU_WARNINGS -Werror)
endif()

# The plug-in works in the ANSI code page 936: sources are UTF-8, narrow
# literals become GBK in the binaries. Clang (the fuzz configuration) knows
# no execution character set but UTF-8; the portable sources the fuzz
# targets build hold ASCII literals only, which are the same bytes in both.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(ZU_GBK_FLAGS)
else()
  set(ZU_GBK_FLAGS -finput-charset=UTF-8 -fexec-charset=GBK)
endif()

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(ZU_WINDOWS TRUE)
else()
  set(ZU_WINDOWS FALSE)
endif()

function(_zu_common_flags target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE ${ZU_WARNINGS})
  # The fuzz configuration builds only what its fuzz programs need.
  if(ZU_FUZZ)
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
  if(ZU_WINDOWS)
    # Windows XP-era API level is enough, but the common controls v6 messages
    # and structures we use need at least Vista's headers.
    target_compile_definitions(${target} PRIVATE _WIN32_WINNT=0x0601 WINVER=0x0601
                                                 WIN32_LEAN_AND_MEAN NOMINMAX)
    # Doubles are computed in SSE2 registers as on x86-64, not in the x87's
    # extended precision, so that both builds give the same bits for the same
    # arithmetic, and the same bytes in the files written from it.
    target_compile_options(${target} PRIVATE -msse2 -mfpmath=sse)
  endif()
endfunction()

# add_zu_library(NAME name [GBK] SOURCES ... [WINDOWS_SOURCES ...]
#                [NATIVE_SOURCES ...] [DEPENDS ...] [WINDOWS_LIBS ...])
# SOURCES are portable and build in both configurations; WINDOWS_SOURCES only
# in the Windows one, NATIVE_SOURCES only in the native one. A folder with no sources in a configuration gets a
# header-only (interface) target there.
function(add_zu_library)
  cmake_parse_arguments(ARG "GBK" "NAME" "SOURCES;WINDOWS_SOURCES;NATIVE_SOURCES;DEPENDS;WINDOWS_LIBS"
                        ${ARGN})
  set(sources ${ARG_SOURCES})
  if(ZU_WINDOWS)
    list(APPEND sources ${ARG_WINDOWS_SOURCES})
  else()
    list(APPEND sources ${ARG_NATIVE_SOURCES})
  endif()
  if(sources)
    add_library(${ARG_NAME} STATIC ${sources})
    _zu_common_flags(${ARG_NAME})
    target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPENDS})
    if(ARG_GBK)
      target_compile_options(${ARG_NAME} PRIVATE ${ZU_GBK_FLAGS})
    endif()
    if(ZU_WINDOWS AND ARG_WINDOWS_LIBS)
      target_link_libraries(${ARG_NAME} PUBLIC ${ARG_WINDOWS_LIBS})
    endif()
  else()
    add_library(${ARG_NAME} INTERFACE)
    target_include_directories(${ARG_NAME} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${ARG_NAME} INTERFACE ${ARG_DEPENDS})
  endif()
endfunction()

# add_zu_program(NAME name [GBK] [GUI] [DLL] [WINDOWS_ONLY] SOURCES ...
#                [DEF file.def] [DEPENDS ...] [OUTPUT_NAME name])
# A program or (with DLL) a Windows library module. Resource scripts (.rc)
# may be listed among the sources.
function(add_zu_program)
  cmake_parse_arguments(ARG "GBK;GUI;DLL;WINDOWS_ONLY" "NAME;DEF;OUTPUT_NAME" "SOURCES;DEPENDS"
                        ${ARGN})
  if(ARG_WINDOWS_ONLY AND NOT ZU_WINDOWS)
    return()
  endif()
  if(ARG_DLL)
    add_library(${ARG_NAME} SHARED ${ARG_SOURCES})
    set_target_properties(${ARG_NAME} PROPERTIES PREFIX "")
    if(ARG_DEF)
      target_sources(${ARG_NAME} PRIVATE ${ARG_DEF})
    endif()
  else()
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    if(ARG_GUI AND ZU_WINDOWS)
      set_target_properties(${ARG_NAME} PROPERTIES WIN32_EXECUTABLE ON)
    endif()
  endif()
  _zu_common_flags(${ARG_NAME})
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPENDS})
  if(ARG_GBK)
    target_compile_options(${ARG_NAME} PRIVATE ${ZU_GBK_FLAGS})
  endif()
  if(ARG_OUTPUT_NAME)
    set_target_properties(${ARG_NAME} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT_NAME})
  endif()
endfunction()

# add_zu_test(NAME name [GBK] [WINDOWS_ONLY|NATIVE_ONLY] SOURCES ...
#             [DEPENDS ...] [LABELS ...])
# A GoogleTest program whose cases ctest lists one by one (not in the fuzz
# configuration, which runs its fuzz programs only). In the Windows
# configuration the cases are listed and run through Wine (the cross-compiling
# emulator) when ctest runs, under the display the test command provides.
function(add_zu_test)
  cmake_parse_arguments(ARG "GBK;WINDOWS_ONLY;NATIVE_ONLY" "NAME" "SOURCES;DEPENDS;LABELS"
                        ${ARGN})
  if((ARG_WINDOWS_ONLY AND NOT ZU_WINDOWS) OR (ARG_NATIVE_ONLY AND ZU_WINDOWS) OR ZU_FUZZ)
    return()
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  _zu_common_flags(${ARG_NAME})
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPENDS} GTest::gmock GTest::gtest GTest::gtest_main)
  if(ARG_GBK)
    target_compile_options(${ARG_NAME} PRIVATE ${ZU_GBK_FLAGS})
  endif()
  if(ZU_WINDOWS)
    gtest_discover_tests(${ARG_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES LABELS "windows;${ARG_LABELS}" TIMEOUT 120)
  else()
    gtest_discover_tests(${ARG_NAME} PROPERTIES LABELS "native;${ARG_LABELS}" TIMEOUT 120)
  endif()
endfunction()

# add_zu_fuzz(NAME name SOURCES ... [DEPENDS ...] CORPUS dir-or-file ...)
# A libFuzzer program (LLVMFuzzerTestOneInput), built only in the fuzz
# configuration (ZU_FUZZ, clang). ctest runs it for ZU_FUZZ_SECONDS on a
# copy of its seed corpus (every file of each CORPUS folder, and CORPUS
# files), made afresh in the build folder, so that what it finds never
# lands in the source tree; a crash or sanitizer report fails the test and
# leaves the input beside that copy. Elsewhere it does nothing.
set(ZU_FUZZ_SECONDS 10 CACHE STRING "How long ctest runs each fuzz program")
function(add_zu_fuzz)
  if(NOT ZU_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPENDS;CORPUS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_compile_features(${ARG_NAME} PUBLIC cxx_std_20)
  target_compile_options(${ARG_NAME} PRIVATE ${ZU_WARNINGS} -fsanitize=fuzzer,address,undefined)
  target_link_options(${ARG_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_include_directories(${ARG_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPENDS})
  # A list in one argument: '|' cannot stand in a path here.
  string(JOIN "|" corpus ${ARG_CORPUS})
  add_test(NAME ${ARG_NAME}
           COMMAND ${CMAKE_COMMAND} -DFUZZER=$<TARGET_FILE:${ARG_NAME}> "-DCORPUS=${corpus}"
                   -DWORK=${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}.run -DSECONDS=${ZU_FUZZ_SECONDS}
                   -P ${PROJECT_SOURCE_DIR}/cmake/RunFuzz.cmake)
  # Room for loading the corpus and the last input beyond the run itself.
  math(EXPR timeout "${ZU_FUZZ_SECONDS} * 2 + 60")
  set_tests_properties(${ARG_NAME} PROPERTIES LABELS fuzz TIMEOUT ${timeout})
endfunction()
