# Sourced by the scripts before they configure a build folder: a new folder is
# made with Ninja when it is installed, else with Make (CMake's default). A
# folder that exists keeps the generator it was made with.
if [ -z "${CMAKE_GENERATOR:-}" ] && command -v ninja >/dev/null; then
  export CMAKE_GENERATOR=Ninja
fi
