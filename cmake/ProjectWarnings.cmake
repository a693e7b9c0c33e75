# Warnings for the project's own targets; third-party code (GoogleTest) is left alone.
set(VOMUREL_WARNINGS
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wnon-virtual-dtor
  -Woverloaded-virtual -Wimplicit-fallthrough -Wcast-qual -Wformat=2
  -Wmissing-declarations -Werror)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # clang's -Wconversion also warns on sign changes, which GCC's does not.
  list(APPEND VOMUREL_WARNINGS -Wno-sign-conversion)
endif()

function(vomurel_target target)
  target_compile_options(${target} PRIVATE ${VOMUREL_WARNINGS})
endfunction()

# Publishes one source folder as the include root of a target: sources write
# "folder/Header.h", and the root holds nothing but a link to that folder. A
# target sees the roots of what it links and no others, so an include that
# crosses the layering fails to compile.
function(vomurel_include_root target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# A library of the program: warnings, its own include root and the libraries
# it builds on (PUBLIC: their headers are part of its own).
function(vomurel_library target folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "SOURCES;DEPENDS")
  add_library(${target} STATIC ${arg_SOURCES})
  vomurel_target(${target})
  vomurel_include_root(${target} ${folder})
  if(arg_DEPENDS)
    target_link_libraries(${target} PUBLIC ${arg_DEPENDS})
  endif()
endfunction()

# Boost's header-only libraries, seen through a folder that holds nothing but
# a "boost" link: the cross compilers must not see the machine's other
# headers, and Boost's own warnings are not the project's.
set(VOMUREL_BOOST_INCLUDE /usr/include CACHE PATH "Folder that holds the boost headers")
function(vomurel_boost_headers target)
  set(root ${CMAKE_BINARY_DIR}/include/boost-only)
  if(NOT EXISTS ${VOMUREL_BOOST_INCLUDE}/boost/geometry/index/rtree.hpp)
    message(FATAL_ERROR "Boost.Geometry not found under ${VOMUREL_BOOST_INCLUDE} (Debian: libboost-dev)")
  endif()
  if(NOT EXISTS ${root}/boost)
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${VOMUREL_BOOST_INCLUDE}/boost ${root}/boost SYMBOLIC)
  endif()
  target_include_directories(${target} SYSTEM PRIVATE ${root})
  # Notes, not warnings, that would stand in every build's output: the
  # R-tree still includes headers Boost has since moved, and Boost.Math
  # takes mingw-w64's missing thread_local for a pre-C++11 compiler.
  target_compile_definitions(${target} PRIVATE BOOST_ALLOW_DEPRECATED_HEADERS
                                               BOOST_MATH_DISABLE_DEPRECATED_03_WARNING)
endfunction()
