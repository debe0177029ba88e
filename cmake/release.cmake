# The Windows programs as shipped: small (-Os, unused sections dropped,
# symbols stripped from release builds) and reproducible (no time stamps in
# the PE headers, no build folders in the objects). The version record and
# the application manifest of Tavrin.exe take the project's version.
if(NOT WIN32)
  return()
endif()

set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
# -fdata-sections is left out: ld puts the zero-filled sections it makes
# into .data, which would store the program's large zeroed tables in the
# file. The .eh_frame tables keep every function that has one, so the
# section garbage collection mostly drops unused read-only data.
add_compile_options(-ffunction-sections
                    "-ffile-prefix-map=${CMAKE_SOURCE_DIR}/="
                    "-ffile-prefix-map=${CMAKE_BINARY_DIR}/=")
add_link_options(-Wl,--gc-sections -Wl,--no-insert-timestamp "$<$<CONFIG:Release>:-s>")

# Exceptions: the one the program handles is running out of memory while a
# link source is read into its buffers (the file is then refused); it
# travels from operator new through the file read to that reader. Those
# files keep their exception tables; everything else is built without them,
# where an exception could only have ended the program anyway.
add_compile_options(-fno-exceptions)
set_source_files_properties(${CMAKE_SOURCE_DIR}/links/source_file.cpp
                            ${CMAKE_SOURCE_DIR}/platform/win32/files.cpp
                            ${CMAKE_SOURCE_DIR}/app/win32/runtime_errors.cpp
                            PROPERTIES COMPILE_OPTIONS -fexceptions)

# One generated header with the version, read by the resource script and
# the package script.
# The manifest names the architecture of the program and of the common
# controls it asks for: an x86_64 program given the x86 ones fails to load.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(TAVRIN_MANIFEST_ARCH amd64)
else()
  set(TAVRIN_MANIFEST_ARCH x86)
endif()
set(TAVRIN_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/res/tavrin_version.h.in ${TAVRIN_GENERATED_DIR}/tavrin_version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/res/tavrin.manifest.in ${TAVRIN_GENERATED_DIR}/tavrin.manifest @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/check/win32/check.manifest.in ${TAVRIN_GENERATED_DIR}/check.manifest @ONLY)
