# Every dependency comes from a Debian package and is reached through an imported target.

set(OpenGL_GL_PREFERENCE GLVND)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(GLUT REQUIRED)
find_package(OpenMP REQUIRED)
find_package(PNG REQUIRED)
find_package(GIF REQUIRED)
find_package(tomlplusplus REQUIRED) # scenario files of the lab
find_package(CLI11 REQUIRED)        # the lab's command line

# Debian ships neither a CMake config nor a pkg-config file for GL2PS.
find_path(GL2PS_INCLUDE_DIR gl2ps.h REQUIRED)
find_library(GL2PS_LIBRARY NAMES gl2ps REQUIRED)
if(NOT TARGET gl2ps::gl2ps)
  add_library(gl2ps::gl2ps UNKNOWN IMPORTED)
  set_target_properties(gl2ps::gl2ps PROPERTIES
    IMPORTED_LOCATION "${GL2PS_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${GL2PS_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES OpenGL::GL)
endif()
