# The Windows installer (cpack -G NSIS with Debian's nsis, beside the zip):
# wolby-<version>-win64-setup.exe, made from NSIS.template.in here. It
# installs for the player alone, without elevation, and brings the default
# settings file, which the game's own settings code writes on the build host
# (tools/).
# Included from packaging/CMakeLists.txt in the Windows build, before CPack.

# What the template takes beyond CPack's own variables (every CPACK_ variable
# reaches it).
set(CPACK_WOLBY_DEFAULT_SETTINGS ${WOLBY_DEFAULT_SETTINGS_FILE})
set(CPACK_WOLBY_ICON ${PROJECT_BINARY_DIR}/platform/win32/images/wolby.ico)
set(CPACK_WOLBY_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
set(CPACK_NSIS_PACKAGE_NAME Wolby)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_SOURCE_DIR})  # NSIS.template.in
# The installer's name, set per generator (the zip keeps its own).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/cpack_per_generator.cmake)
