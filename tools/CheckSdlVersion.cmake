# Configures the project against a made-up older SDL2 and requires a refusal that names the version needed.
foreach(case "2.0.14;OFF;>= 2.0.18" "2.0.20;ON;SDL2 2.24 or newer")
  list(GET case 0 version)
  list(GET case 1 tests)
  list(GET case 2 needed)
  set(scratch ${SCRATCH}/sdl-${version})
  file(REMOVE_RECURSE ${scratch})
  file(WRITE ${scratch}/pc/sdl2.pc "Name: sdl2\nDescription: an older SDL\nVersion: ${version}\n"
                                   "Libs: -lSDL2\nCflags: -I/usr/include/SDL2\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${scratch}/pc
                          ${CMAKE_COMMAND} -S ${SOURCE} -B ${scratch}/build -DKES_TESTS=${tests}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  file(REMOVE_RECURSE ${scratch})
  if(result EQUAL 0)
    message(FATAL_ERROR "SDL2 ${version} (tests ${tests}) was accepted")
  endif()
  string(FIND "${output}" "${needed}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "SDL2 ${version} (tests ${tests}) was refused without naming '${needed}':\n${output}")
  endif()
endforeach()
message(STATUS "older SDL2 versions are refused at configure time")
