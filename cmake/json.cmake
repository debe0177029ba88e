# nlohmann's JSON headers (Debian's nlohmann-json3-dev, header-only), read
# by the check tool's "browsers" and nothing else. The Windows builds must
# not see the rest of /usr/include, so the headers are reached through a
# folder of the build that holds only them.
find_path(TAVRIN_JSON_HEADERS nlohmann/json.hpp PATHS /usr/include /usr/local/include
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT TAVRIN_JSON_HEADERS)
  message(FATAL_ERROR "nlohmann/json.hpp not found: install nlohmann-json3-dev (scripts/install-deps.sh)")
endif()
set(TAVRIN_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${TAVRIN_JSON_INCLUDE})
if(NOT EXISTS ${TAVRIN_JSON_INCLUDE}/nlohmann)
  file(CREATE_LINK ${TAVRIN_JSON_HEADERS}/nlohmann ${TAVRIN_JSON_INCLUDE}/nlohmann SYMBOLIC)
endif()
