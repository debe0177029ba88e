# What Tavrin shows, read in the Japanese session (e2e.locale.*) and on an
# English Windows, code page 1252 (e2e.locale_en.*, label "en_us", run by
# scripts/test.sh in a session of its own), with the same expectations.
set(TAVRIN_LOCALE_CASES list_window message_box menu saved_list shortcut_folder check_tool_output)
tavrin_e2e_cases(locale ${TAVRIN_LOCALE_CASES})
foreach(case ${TAVRIN_LOCALE_CASES})
  add_test(NAME e2e.locale_en.${case}
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/locale_test.py
                   --case ${case} --tavrin $<TARGET_FILE:Tavrin> --driver $<TARGET_FILE:tavrin_driver>
                   --scratch ${CMAKE_CURRENT_BINARY_DIR}/scratch/locale_en)
  set_tests_properties(e2e.locale_en.${case} PROPERTIES TIMEOUT 90 LABELS "e2e;en_us"
                       ENVIRONMENT "TAVRIN_RECORDER=$<TARGET_FILE:recorder>;TAVRIN_CHECK=$<TARGET_FILE:TavrinCheck>;TAVRIN_EXPECT_CODE_PAGE=1252")
  set_property(TEST e2e.locale.${case} APPEND PROPERTY ENVIRONMENT
               "TAVRIN_RECORDER=$<TARGET_FILE:recorder>;TAVRIN_CHECK=$<TARGET_FILE:TavrinCheck>;TAVRIN_EXPECT_CODE_PAGE=932")
  # Windows of the program at the places of every other's.
  set_property(TEST e2e.locale.${case} e2e.locale_en.${case} APPEND PROPERTY RESOURCE_LOCK wine_display)
endforeach()
