# The program's sizes at the display's resolution: each case once for a
# Wine session at 96 DPI and once for one at 144 DPI (label "hidpi";
# scripts/test.sh runs those in a session whose prefix Wine reports 144 DPI
# for). A case in a session of the other resolution reports itself skipped.
set(TAVRIN_DPI_CASES list_window menu_icons progress_window dpi_change)
foreach(dpi 96 144)
  foreach(case ${TAVRIN_DPI_CASES})
    set(t e2e.dpi.${dpi}.${case})
    add_test(NAME ${t}
             COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/dpi_test.py
                     --case ${case} --dpi ${dpi}
                     --tavrin $<TARGET_FILE:Tavrin> --driver $<TARGET_FILE:tavrin_driver>
                     --scratch ${CMAKE_CURRENT_BINARY_DIR}/scratch/dpi)
    # Windows that show at the same place, the pointer on the menu, a
    # click on Cancel: the cases take the display in turn.
    set_tests_properties(${t} PROPERTIES TIMEOUT 90 LABELS e2e SKIP_RETURN_CODE 77
                         RESOURCE_LOCK wine_display ENVIRONMENT
                         "TAVRIN_RECORDER=$<TARGET_FILE:recorder>;TAVRIN_FAKE_LOADER=$<TARGET_FILE:fake_loader>")
    if(dpi EQUAL 144)
      set_property(TEST ${t} APPEND PROPERTY LABELS hidpi)
    endif()
  endforeach()
endforeach()
