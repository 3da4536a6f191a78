# Installs the build tree into a scratch prefix, then configures and builds the consumer
# project in this directory against that prefix alone, as another project would.
#   cmake -D BUILD_DIR=... -D WORK_DIR=... [-D BUILD_TYPE=...] -P build_against_install.cmake
foreach(variable BUILD_DIR WORK_DIR)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()
if(NOT BUILD_TYPE)
  set(BUILD_TYPE Release)
endif()
set(prefix ${WORK_DIR}/prefix)
set(consumer_build ${WORK_DIR}/build)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}")
  endif()
endfunction()

# The README shows this program and its CMakeLists.txt as they are built here.
get_filename_component(readme ${CMAKE_CURRENT_LIST_DIR}/../../README.md ABSOLUTE)
file(READ ${readme} readme_text)
foreach(shown main.cpp CMakeLists.txt)
  file(READ ${CMAKE_CURRENT_LIST_DIR}/${shown} shown_text)
  string(FIND "${readme_text}" "${shown_text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "README.md no longer shows tests/consumer/${shown} as it is")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK_DIR})
run("install into ${prefix}" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

set(headers rizodozad.h records.h vocabulary.h handles.h core/colors.h core/pictures.h
  core/atomic_file.h core/standard_descriptors.h axes/ticks.h surfaces/contours.h)
foreach(header ${headers})
  if(NOT EXISTS ${prefix}/include/rizodozad/${header})
    message(FATAL_ERROR "the installed tree lacks include/rizodozad/${header}")
  endif()
  # Entry points that exist for tests stay out of the installed package.
  file(READ ${prefix}/include/rizodozad/${header} text)
  foreach(test_only trace_contours_by_scan layer_list_click_at test_hooks)
    string(FIND "${text}" "${test_only}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "the installed ${header} carries the test-only ${test_only}")
    endif()
  endforeach()
endforeach()
# Nor do the internals: a program reaches the engine through its face alone.
foreach(internal test_hooks.h core/engine.h core/current_record.h)
  if(EXISTS ${prefix}/include/rizodozad/${internal})
    message(FATAL_ERROR "the installed tree carries ${internal}")
  endif()
endforeach()

# The consumer must see the installed package only, never the source tree or a registry.
run("configure the consumer" ${CMAKE_COMMAND}
  -S ${CMAKE_CURRENT_LIST_DIR} -B ${consumer_build}
  -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
  -DCMAKE_PREFIX_PATH=${prefix}
  -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
file(STRINGS ${consumer_build}/CMakeCache.txt package_dir REGEX "^rizodozad_DIR:")
string(FIND "${package_dir}" "${prefix}/" at)
if(NOT at GREATER -1)
  message(FATAL_ERROR "the consumer found rizodozad elsewhere: ${package_dir}")
endif()

run("build the consumer" ${CMAKE_COMMAND} --build ${consumer_build})
if(NOT EXISTS ${consumer_build}/waves)
  message(FATAL_ERROR "the consumer build made no program")
endif()
message(STATUS "waves built against ${prefix}")
