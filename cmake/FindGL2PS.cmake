# Finds GL2PS by its header and library (Debian ships neither a CMake config nor a
# pkg-config file for it) and gives the imported target gl2ps::gl2ps.
# Used by this project's build and by its installed package alike.
find_path(GL2PS_INCLUDE_DIR gl2ps.h)
find_library(GL2PS_LIBRARY NAMES gl2ps)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(GL2PS REQUIRED_VARS GL2PS_LIBRARY GL2PS_INCLUDE_DIR)

if(GL2PS_FOUND AND NOT TARGET gl2ps::gl2ps)
  add_library(gl2ps::gl2ps UNKNOWN IMPORTED)
  set_target_properties(gl2ps::gl2ps PROPERTIES
    IMPORTED_LOCATION "${GL2PS_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${GL2PS_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES OpenGL::GL)
endif()
