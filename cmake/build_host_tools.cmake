# cmake -DSOURCE=<tree> -DBUILD=<folder> -DGENERATOR=<generator> -DTOOLS=<target,...> -P build_host_tools.cmake
# Builds the host tools in BUILD, which is configured first when it is new:
# for the machine's own compiler, with neither tests nor benchmarks. A folder
# that exists keeps its configuration.
if(NOT EXISTS ${BUILD}/CMakeCache.txt)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BUILD} -G ${GENERATOR}
      -DCMAKE_BUILD_TYPE=Release -DWOLBY_TESTS=OFF -DWOLBY_BENCHMARKS=OFF
    COMMAND_ERROR_IS_FATAL ANY)
endif()
string(REPLACE "," ";" tools "${TOOLS}")
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target ${tools} COMMAND_ERROR_IS_FATAL ANY)
