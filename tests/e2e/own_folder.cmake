# Tavrin.exe in folders whose names code page 932 cannot hold.
set(TAVRIN_OWN_FOLDER_CASES accented_folder yen_folder own_libraries)
tavrin_e2e_cases(own_folder ${TAVRIN_OWN_FOLDER_CASES})
foreach(case ${TAVRIN_OWN_FOLDER_CASES})
  set_property(TEST e2e.own_folder.${case} APPEND PROPERTY
               ENVIRONMENT "TAVRIN_RECORDER=$<TARGET_FILE:recorder>;TAVRIN_CHECK=$<TARGET_FILE:TavrinCheck>")
endforeach()
# The list window takes the display.
set_property(TEST e2e.own_folder.own_libraries APPEND PROPERTY RESOURCE_LOCK wine_display)
