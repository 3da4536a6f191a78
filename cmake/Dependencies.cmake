# Every dependency comes from a Debian package and is reached through an imported target.

set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(GLUT REQUIRED)
find_package(PNG REQUIRED)
find_package(GIF REQUIRED)
if(RIZODOZAD_BUILD_PROGRAMS)
  find_package(OpenMP REQUIRED)       # the solvers' sweeps
  find_package(tomlplusplus REQUIRED) # scenario files of the lab
  find_package(CLI11 REQUIRED)        # the lab's command line
endif()

find_package(GL2PS REQUIRED) # cmake/FindGL2PS.cmake
