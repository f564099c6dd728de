# Runs one fuzz target for SECONDS from its seeds, in a fresh folder under WORK that holds
# the corpus and the files the target writes, removed afterwards whatever the outcome.
# A finding's input is kept in WORK as <NAME>-crash-..., leak-..., timeout-...
#   cmake -DTARGET=exe -DSEEDS=write_fuzz_seeds -DNAME=name -DSECONDS=n -DWORK=dir -P RunFuzzTarget.cmake
foreach(var TARGET SEEDS NAME SECONDS WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunFuzzTarget.cmake: ${var} is not set")
  endif()
endforeach()

string(RANDOM LENGTH 10 tag)
set(run ${WORK}/run-${NAME}-${tag})
file(MAKE_DIRECTORY ${run}/corpus ${run}/files)

execute_process(COMMAND ${SEEDS} ${NAME} ${run}/corpus RESULT_VARIABLE seeded)
file(GLOB seeds ${run}/corpus/*)
list(LENGTH seeds seedCount)
if(NOT seeded EQUAL 0 OR seedCount EQUAL 0)
  file(REMOVE_RECURSE ${run})
  message(FATAL_ERROR "${NAME}: no seeds written (${seeded})")
endif()

set(ENV{QX_FUZZ_WORK} ${run}/files)
execute_process(COMMAND ${TARGET} -max_total_time=${SECONDS} -print_final_stats=1
                        -artifact_prefix=${WORK}/${NAME}- ${run}/corpus
                RESULT_VARIABLE fuzzed)
file(REMOVE_RECURSE ${run})
if(NOT fuzzed EQUAL 0)
  message(FATAL_ERROR "${NAME}: the fuzz run failed (${fuzzed}); its input is kept in ${WORK}")
endif()
