# Libraries taken from Debian's packages, usable by a native build and by a
# MinGW-w64 cross build alike: headers are reached through a folder of our own
# (a cross compiler must not see all of /usr/include), and GoogleTest is built
# from the sources Debian ships.

# CLI11 (libcli11-dev), header-only.
find_path(LUMVREX_CLI11_HEADERS CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(lumvrex_cli11_include "${CMAKE_BINARY_DIR}/third_party/cli11")
file(MAKE_DIRECTORY "${lumvrex_cli11_include}")
file(CREATE_LINK "${LUMVREX_CLI11_HEADERS}/CLI" "${lumvrex_cli11_include}/CLI" SYMBOLIC)
add_library(lumvrex_cli11 INTERFACE)
target_include_directories(lumvrex_cli11 SYSTEM INTERFACE "${lumvrex_cli11_include}")

# GoogleTest (googletest), built with the project's own compiler.
if(BUILD_TESTING)
  set(LUMVREX_GOOGLETEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest's sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${LUMVREX_GOOGLETEST_SOURCES} ${CMAKE_BINARY_DIR}/third_party/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(MINGW)
    # The programs are built with MinGW's win32 threads, whose C++ library
    # has no std::mutex for GoogleTest's Notification: ours takes its place.
    target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
    target_compile_options(gtest PUBLIC -include ${PROJECT_SOURCE_DIR}/tests/support/gtest_notification.h)
  endif()
endif()
