# Helpers shared by every folder's CMakeLists.

# platform_layer(NAME DIR [DEPS ...] [LIBS ...])
# A platform layer is one shared library (libNAME.so) built from every .cpp
# directly in its folder (subfolders hold tools with CMakeLists of their own);
# its folder is the public include directory.
function(platform_layer name)
  cmake_parse_arguments(PL "" "" "DEPS;LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} SHARED ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${PL_DEPS} PRIVATE ${PL_LIBS})
  # Platform libraries are ordinary C++ libraries: everything is visible.
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET default VISIBILITY_INLINES_HIDDEN OFF)
endfunction()

# add_module(TARGET FILE_NAME SOURCES...)
# A deliverable built as a loadable module with a DllMain-style entry: the
# output file gets the exact name given (Cadcore.dbx, Levelmap.arx ...).
function(add_module target file_name)
  add_library(${target} SHARED ${ARGN} ${CMAKE_SOURCE_DIR}/platform/win/module/dllentry.cxx)
  get_filename_component(stem ${file_name} NAME_WE)
  get_filename_component(ext ${file_name} LAST_EXT)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${stem} SUFFIX "${ext}")
  target_link_libraries(${target} PRIVATE win)
endfunction()

# add_unit_test(NAME SOURCES... LIBS ...)
function(add_unit_test name)
  cmake_parse_arguments(UT "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${UT_SOURCES})
  target_link_libraries(${name} PRIVATE ${UT_LIBS} GTest::gtest GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "MODULE_DIR=${MODULE_DIR}")
endfunction()

# add_benchmark(NAME SOURCES... LIBS ...): built with everything, run only by
# `make bench`, never as a test.
function(add_benchmark name)
  cmake_parse_arguments(BM "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${BM_SOURCES})
  target_link_libraries(${name} PRIVATE ${BM_LIBS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# The platform layers that exist so far, for system code to link against.
function(link_platform target)
  foreach(layer user win ado acad uitoolkit)
    if(TARGET ${layer})
      target_link_libraries(${target} PUBLIC ${layer})
    endif()
  endforeach()
endfunction()
