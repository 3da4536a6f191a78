# Every dependency comes from a Debian package and is reached through an imported target.

set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(GLUT REQUIRED)
find_package(OpenMP REQUIRED)
find_package(PNG REQUIRED)
find_package(GIF REQUIRED)
find_package(tomlplusplus REQUIRED) # scenario files of the lab
find_package(CLI11 REQUIRED)        # the lab's command line

find_package(GL2PS REQUIRED) # cmake/FindGL2PS.cmake
