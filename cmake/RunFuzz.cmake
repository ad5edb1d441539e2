# Runs a libFuzzer program briefly on a fresh copy of its seed corpus (the
# fuzz tests of add_zu_fuzz).
#
#   cmake -DFUZZER=program -DCORPUS="dir|file|..." -DWORK=dir -DSECONDS=n -P RunFuzz.cmake
#
# New inputs go into WORK/corpus, a crashing input into WORK; WORK is emptied
# first.
foreach(var FUZZER CORPUS WORK SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunFuzz.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/corpus")
string(REPLACE "|" ";" seeds "${CORPUS}")
set(count 0)
foreach(seed IN LISTS seeds)
  if(IS_DIRECTORY "${seed}")
    file(GLOB files LIST_DIRECTORIES false "${seed}/*")
  else()
    set(files "${seed}")
  endif()
  foreach(file IN LISTS files)
    file(COPY "${file}" DESTINATION "${WORK}/corpus")
    math(EXPR count "${count} + 1")
  endforeach()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "no seed inputs in ${CORPUS}")
endif()

execute_process(
  COMMAND "${FUZZER}" -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048
          -print_final_stats=1 "-artifact_prefix=${WORK}/" "${WORK}/corpus"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}): the input it names lies in ${WORK}")
endif()
