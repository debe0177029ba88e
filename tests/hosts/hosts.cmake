# Host names as browsers read them: the generated tables are what the
# Unicode data makes (scripts/install-deps.sh installs unicode-data), and
# the check tool passes hosts on as node's URL parser reads them.
find_program(TAVRIN_NODE NAMES node nodejs)
if(NOT TAVRIN_NODE)
  set(TAVRIN_NODE node)  # the test then fails and says so: run scripts/install-deps.sh
endif()
add_test(NAME hosts.tables
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make_idna_tables.py --check
                 --out ${CMAKE_SOURCE_DIR}/common/idna_tables.cpp)
add_test(NAME hosts.browser
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/host_differential.py
                 --tool $<TARGET_FILE:tavrin-check> --node ${TAVRIN_NODE}
                 --scratch ${CMAKE_CURRENT_BINARY_DIR}/scratch/hosts)
set_tests_properties(hosts.tables hosts.browser PROPERTIES TIMEOUT 300 LABELS check)
