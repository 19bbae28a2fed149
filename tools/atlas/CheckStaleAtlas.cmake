# The atlas check must notice a stale table: run it on a copy of docs/ whose table has one row too many.
file(REMOVE_RECURSE ${SCRATCH})
file(COPY ${DOCS}/ DESTINATION ${SCRATCH})
file(APPEND ${SCRATCH}/levels.md "| 99 | [gone](levels/gone.png) | 20 x 15 | - | - | - | - | 1.0 s | 9.00 |\n")
execute_process(
  COMMAND env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ${TOOL} --check ${ASSETS} ${SCRATCH}
  RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_QUIET)
if(result EQUAL 0 OR NOT errors MATCHES "stale")
  message(FATAL_ERROR "kesatlas --check passed a stale table (exit ${result}): ${errors}")
endif()
