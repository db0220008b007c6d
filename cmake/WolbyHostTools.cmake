# The host tools (tools/) run while the game builds: they draw the cursor and
# the icons, write the default settings file and draw the browser build's text
# lines. A build for this machine compiles them itself; a cross build (Windows,
# browser) runs those of a build of this tree for the machine it builds on:
# WOLBY_HOST_BUILD, an existing Linux build folder, or else one made under this
# build with the tools alone on first use.
if(CMAKE_CROSSCOMPILING)
  set(WOLBY_HOST_BUILD ${CMAKE_BINARY_DIR}/host CACHE PATH
    "A build of this tree for the build machine, whose host tools this cross build runs")
  set(wolby_host_tools wolby_make_images wolby_make_default_settings)
  if(WOLBY_WEB)
    list(APPEND wolby_host_tools wolby_make_text_atlas)
  endif()
  set(programs)
  foreach(tool ${wolby_host_tools})
    list(APPEND programs ${WOLBY_HOST_BUILD}/tools/${tool})
  endforeach()
  # Always asked: the host build decides what is out of date. (The list goes
  # to the script with commas, as a custom command splits it at semicolons.)
  string(REPLACE ";" "," tool_list "${wolby_host_tools}")
  add_custom_target(wolby_host_tools
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DBUILD=${WOLBY_HOST_BUILD}
      "-DGENERATOR=${CMAKE_GENERATOR}" -DTOOLS=${tool_list}
      -P ${CMAKE_CURRENT_LIST_DIR}/build_host_tools.cmake
    BYPRODUCTS ${programs}
    COMMENT "Building the host tools in ${WOLBY_HOST_BUILD}"
    USES_TERMINAL)
endif()

# wolby_run_tool(<tool> OUTPUT <files...> [ARGS <arguments...>] [DEPENDS <files...>] COMMENT <text>)
# Runs the host tool to make the files; the first file's folder is made first.
function(wolby_run_tool tool)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "COMMENT" "OUTPUT;ARGS;DEPENDS")
  if(CMAKE_CROSSCOMPILING)
    set(program ${WOLBY_HOST_BUILD}/tools/${tool})
    set(depends ${program} wolby_host_tools)
  else()
    set(program $<TARGET_FILE:${tool}>)
    set(depends ${tool})
  endif()
  list(GET arg_OUTPUT 0 first)
  get_filename_component(folder ${first} DIRECTORY)
  add_custom_command(OUTPUT ${arg_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${program} ${arg_ARGS}
    DEPENDS ${depends} ${arg_DEPENDS}
    COMMENT "${arg_COMMENT}")
endfunction()
