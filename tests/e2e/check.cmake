# TavrinCheck.exe under Wine: its link rows for a few test pages with and
# without nkf32.dll, files held by another program, bad input, and that it
# writes nothing; browsers on registry entries and profile files the case
# makes; register.cmd and the doctor. (Its dry dispatch is compared with Tavrin.exe's real
# starts in every dispatch case.)
add_executable(file_holder ${CMAKE_CURRENT_LIST_DIR}/file_holder.cpp)
set_target_properties(file_holder PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_link_options(file_holder PRIVATE -mconsole)

foreach(case links_pages links_without_converter locked_files bad_input writes_nothing browsers doctor_register)
  add_test(NAME e2e.check.${case}
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/check_test.py --case ${case}
                   --check $<TARGET_FILE:TavrinCheck> --nkf $<TARGET_FILE:nkf32>
                   --holder $<TARGET_FILE:file_holder> --pages ${CMAKE_SOURCE_DIR}/tests/pages
                   --tavrin $<TARGET_FILE:Tavrin>
                   --scratch ${CMAKE_CURRENT_BINARY_DIR}/scratch/check)
  set_tests_properties(e2e.check.${case} PROPERTIES TIMEOUT 300 LABELS e2e)
endforeach()
# The doctor case registers Tavrin and sets the user's choice for http:
# no other case may meanwhile.
set_tests_properties(e2e.check.doctor_register PROPERTIES RESOURCE_LOCK wine_http_class)
