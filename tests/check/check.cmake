# The native check tool run as a user runs it (check_tool_test.py).
find_package(Python3 COMPONENTS Interpreter REQUIRED)
foreach(case links_pages links_folders links_utf8 links_json links_parser bad_inputs writes_nothing readme_sample
             open_wide doc_samples readme_examples help_examples utf8_names
             browsers_native)
  add_test(NAME check.${case}
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_tool_test.py --case ${case}
                   --tool $<TARGET_FILE:tavrin-check> --pages ${CMAKE_SOURCE_DIR}/tests/pages
                   --readme ${CMAKE_SOURCE_DIR}/README.md --docs ${CMAKE_SOURCE_DIR}/docs
                   --scratch ${CMAKE_CURRENT_BINARY_DIR}/scratch/check)
  set_tests_properties(check.${case} PROPERTIES TIMEOUT 600 LABELS check)
endforeach()
