# A slip in the arguments must never run the writing mode: "--check" with one folder is refused with the
# usage, and that folder keeps its page and its pictures, listed or not.
file(REMOVE_RECURSE ${SCRATCH})
file(COPY ${DOCS}/levels.md DESTINATION ${SCRATCH})
file(WRITE ${SCRATCH}/levels/unlisted.png "not a level picture")
file(SHA256 ${SCRATCH}/levels.md before)
execute_process(
  COMMAND env SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ${TOOL} --check ${SCRATCH}
  RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_QUIET)
file(SHA256 ${SCRATCH}/levels.md after)
if(NOT result EQUAL 2 OR NOT errors MATCHES "usage" OR NOT before STREQUAL after
   OR NOT EXISTS ${SCRATCH}/levels/unlisted.png)
  message(FATAL_ERROR "kesatlas --check with one folder did not refuse (exit ${result}) or changed it: ${errors}")
endif()
file(REMOVE_RECURSE ${SCRATCH})
