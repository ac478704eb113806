# Runs the fuzzer for a bounded time on a fresh copy of the seed corpus, so
# that the seeds themselves never change.
#   cmake -DFUZZER=... -DSEEDS=... -DCORPUS=... -DSECONDS=... -P run_smoke.cmake
file(REMOVE_RECURSE "${CORPUS}")
file(MAKE_DIRECTORY "${CORPUS}")
file(GLOB seeds "${SEEDS}/*")
file(COPY ${seeds} DESTINATION "${CORPUS}")
execute_process(COMMAND "${FUZZER}" -max_total_time=${SECONDS} -print_final_stats=1 "${CORPUS}"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the fuzzer stopped with ${result}: see the crash report above")
endif()
