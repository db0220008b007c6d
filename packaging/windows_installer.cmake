# The Windows installer (cpack -G NSIS with Debian's nsis, beside the zip):
# wolby-<version>-win64-setup.exe, made from NSIS.template.in here. It
# installs for the player alone, without elevation, and brings the default
# settings file, which the game's own settings code writes on the build host.
# Included from packaging/CMakeLists.txt in the Windows build, before CPack.

# The default settings file: the host's compiler builds the tool from the
# platform-free settings code and the host's files, as the Linux build's
# packaging does.
set(default ${CMAKE_CURRENT_BINARY_DIR}/default)
set(tool ${default}/wolby_make_default_settings)
set(tool_sources ${PROJECT_SOURCE_DIR}/tools/make_default_settings.cpp
  ${PROJECT_SOURCE_DIR}/settings/settings.cpp ${PROJECT_SOURCE_DIR}/settings/text_mode.cpp
  ${PROJECT_SOURCE_DIR}/platform/common/file_names.cpp ${PROJECT_SOURCE_DIR}/platform/common/regular_file.cpp
  ${PROJECT_SOURCE_DIR}/platform/common/replace_file.cpp)
file(GLOB tool_headers ${PROJECT_SOURCE_DIR}/settings/*.h ${PROJECT_SOURCE_DIR}/platform/platform.h
  ${PROJECT_SOURCE_DIR}/platform/common/*.h)
add_custom_command(OUTPUT ${tool}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${default}
  COMMAND ${WOLBY_HOST_CXX} -std=c++20 -O1 -Wall -Wextra -Wpedantic -Wconversion -Werror
    -I${PROJECT_SOURCE_DIR} -o ${tool} ${tool_sources}
  DEPENDS ${tool_sources} ${tool_headers}
  COMMENT "Building the host tool that writes the default settings file")
add_custom_command(OUTPUT ${default}/setting.dat
  COMMAND ${tool} ${default}
  DEPENDS ${tool}
  COMMENT "Writing the default settings file")
add_custom_target(wolby_default_settings ALL DEPENDS ${default}/setting.dat)

# What the template takes beyond CPack's own variables (every CPACK_ variable
# reaches it).
set(CPACK_WOLBY_DEFAULT_SETTINGS ${default}/setting.dat)
set(CPACK_WOLBY_ICON ${PROJECT_BINARY_DIR}/platform/win32/images/wolby.ico)
set(CPACK_WOLBY_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
set(CPACK_NSIS_PACKAGE_NAME Wolby)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR})  # NSIS.template.in
# The installer's name, set per generator (the zip keeps its own).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/cpack_per_generator.cmake)
