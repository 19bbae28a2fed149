# The browser build (configured with emcmake, see `make web`): the game alone, linked with SDL2, SDL2_image
# and SDL2_mixer as tools/web/build-libs.sh built them from Debian's sources, into a folder of static files.
set(KES_WEB_LIBS "" CACHE PATH "Where tools/web/build-libs.sh installed the web SDL libraries")
set(KES_WEB_DATA "" CACHE PATH "The built data/ folder of a desktop build, packaged into the page")
set(KES_WEB_SITE ${CMAKE_BINARY_DIR}/site CACHE PATH "The folder to put on a web host")
if(NOT EXISTS ${KES_WEB_LIBS}/lib/libSDL2.a OR NOT EXISTS ${KES_WEB_DATA}/gfx OR NOT EXISTS ${KES_WEB_DATA}/../web-music)
  message(FATAL_ERROR "The web build needs -DKES_WEB_LIBS=<tools/web/build-libs.sh's folder> and "
                      "-DKES_WEB_DATA=<a desktop build's data/>: run `make web`")
endif()

# The libraries by full path: a name such as -lSDL2_mixer would be swapped for emscripten's downloading ports.
add_library(PkgConfig::SDL INTERFACE IMPORTED)
target_include_directories(PkgConfig::SDL INTERFACE ${KES_WEB_LIBS}/include/SDL2)
target_link_libraries(PkgConfig::SDL INTERFACE ${KES_WEB_LIBS}/lib/libSDL2_mixer.a
                      ${KES_WEB_LIBS}/lib/libSDL2_image.a ${KES_WEB_LIBS}/lib/libSDL2.a)

# The link options of a program for the page. The browser calls each pass of the main loop, so nothing
# blocks; the player's stored files are loaded before main (web/storage.js). The audio resumes on the first
# key press (browsers forbid sound before one). The touch controls reach the game through kes_touch,
# exported beside main; the page's "My levels" calls the kes_level_ functions and then main itself. The '$'
# names go through a response file, where no build tool can mangle them.
set(KES_WEB_LINK_FILE ${CMAKE_BINARY_DIR}/web-link-options.rsp)
file(WRITE ${KES_WEB_LINK_FILE}
     "-sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -lidbfs.js "
     "-sEXPORTED_RUNTIME_METHODS=['FS','ccall','callMain'] "
     "-sEXPORTED_FUNCTIONS=['_main','_kes_touch','_kes_level_link','_kes_level_keep','_kes_level_delete','_kes_level_away','_kes_typed'] "
     "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=['$autoResumeAudioContext','$dynCall']\n")

# Links a program for the page: its data/ packaged under /game, its .js, .wasm and .data written to folder.
# A changed content file packs the data again.
set(KES_WEB_MUSIC ${KES_WEB_DATA}/../web-music)
file(GLOB_RECURSE KES_WEB_DATA_FILES CONFIGURE_DEPENDS ${KES_WEB_DATA}/* ${KES_WEB_MUSIC}/*)
# The page's data/ is the desktop's with its own tunes, packed smaller, and their list (web-music/ beside it).
set(KES_WEB_PACKED ${CMAKE_BINARY_DIR}/packed-data)
add_custom_command(
  OUTPUT ${KES_WEB_PACKED}.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${KES_WEB_PACKED}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${KES_WEB_DATA} ${KES_WEB_PACKED}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${KES_WEB_PACKED}/music
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${KES_WEB_MUSIC} ${KES_WEB_PACKED}/music
  COMMAND ${CMAKE_COMMAND} -E touch ${KES_WEB_PACKED}.stamp
  DEPENDS ${KES_WEB_DATA_FILES}
  COMMENT "Packing the page's data" VERBATIM)
add_custom_target(packed_data DEPENDS ${KES_WEB_PACKED}.stamp)

function(kes_web_program target folder)
  set_target_properties(${target} PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${folder})
  target_link_options(${target} PRIVATE "@${KES_WEB_LINK_FILE}" "SHELL:--preload-file ${KES_WEB_PACKED}@/game/data"
                      ${ARGN})
  add_dependencies(${target} packed_data)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${KES_WEB_LINK_FILE} ${KES_WEB_PACKED}.stamp)
endfunction()

kes_web_program(kestrovane ${KES_WEB_SITE} "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/web/storage.js")
set_property(TARGET kestrovane APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/storage.js)
configure_file(${CMAKE_SOURCE_DIR}/web/index.html ${KES_WEB_SITE}/index.html COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/web/manifest.webmanifest ${KES_WEB_SITE}/manifest.webmanifest COPYONLY)
# The installed page's icons are the desktop's, painted by the content build beside its data/.
foreach(size 192 512)
  set(icon ${KES_WEB_DATA}/../icons/hicolor/${size}x${size}/apps/example.kestrovane.Kestrovane.png)
  if(NOT EXISTS ${icon})
    message(FATAL_ERROR "No ${icon}: build the desktop build's icons target first (make web does)")
  endif()
  configure_file(${icon} ${KES_WEB_SITE}/icon-${size}.png COPYONLY)
endforeach()

# The service worker lists every file of the finished site and names its cache after their content; it is
# written after everything else, on every build, so files added to the site by any means are in it.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_target(site_worker ALL
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/web/site-worker.py ${CMAKE_SOURCE_DIR}/web/sw.js ${KES_WEB_SITE}
  COMMENT "Listing the site for its service worker" VERBATIM)
add_dependencies(site_worker kestrovane)

# The page's on-screen touch controls, beside it.
configure_file(${CMAKE_SOURCE_DIR}/web/touch.js ${KES_WEB_SITE}/touch.js COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/web/touch.css ${KES_WEB_SITE}/touch.css COPYONLY)

# The browser tests' replay player (tests/web/kesreplay.cpp): the game's code and the test harness's
# replay driver, with the shipped levels' recorded inputs. Built beside the site, never into it.
option(KES_WEB_TESTS "Build the browser tests' replay player" ON)
if(KES_WEB_TESTS)
  file(GLOB harness_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
  add_library(kes_web_harness STATIC ${harness_sources})
  target_include_directories(kes_web_harness PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests/support)
  target_link_libraries(kes_web_harness PUBLIC PkgConfig::SDL)
  add_executable(kesreplay ${CMAKE_SOURCE_DIR}/tests/web/kesreplay.cpp)
  target_link_libraries(kesreplay PRIVATE kes_web_harness ${KES_ALL})
  kes_web_program(kesreplay ${CMAKE_BINARY_DIR}/replay
                  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/assets/maps@/game/replays --exclude-file *.txt")
  file(GLOB replays CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/maps/*.replay)
  set_property(TARGET kesreplay APPEND PROPERTY LINK_DEPENDS ${replays})
endif()
