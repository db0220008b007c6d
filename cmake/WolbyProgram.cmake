# wolby_program(<name> <backend> [WIN32] [SCREENS | PLATFORM] [CONTROLS]
#               <sources...> [LINK <libraries...>])
# An executable on one backend: sdl (the Linux window), headless (none), web
# (the page) or win32. It takes the whole game (the shell, the screens, the
# core), or with SCREENS the screens and the core, or with PLATFORM the backend
# alone; LINK names what else it takes. The backend comes last on the link
# line, as a static library's platform calls must come before the backend that
# defines them. CONTROLS adds the tests' controls of the headless backend
# (tests/support/headless_controls.h); WIN32 makes a Windows GUI program.
function(wolby_program name backend)
  cmake_parse_arguments(PARSE_ARGV 2 arg "WIN32;SCREENS;PLATFORM;CONTROLS" "" "LINK")
  set(kind)
  if(arg_WIN32)
    set(kind WIN32)
  endif()
  add_executable(${name} ${kind} ${arg_UNPARSED_ARGUMENTS})
  set(layers wolby_game wolby_screens wolby_core)
  if(arg_SCREENS)
    set(layers wolby_screens wolby_core)
  elseif(arg_PLATFORM)
    set(layers)
  endif()
  if(arg_CONTROLS)
    list(APPEND layers wolby_headless_controls)
  endif()
  target_link_libraries(${name} PRIVATE ${arg_LINK} ${layers} wolby_platform_${backend})
endfunction()
