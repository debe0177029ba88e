# Link cleaning ("@unwrap", "@strip=", "!" program lines): dispatch cases
# with recorder copies as the programs, TavrinCheck.exe naming the same
# starts, and a list window session.
set(TAVRIN_CLEAN_CASES
  google_pdf placeholders given_row tracking_only long_safe_link without_options list_rows)
tavrin_e2e_cases(clean ${TAVRIN_CLEAN_CASES})
foreach(case ${TAVRIN_CLEAN_CASES})
  set_property(TEST e2e.clean.${case} APPEND PROPERTY
               ENVIRONMENT "TAVRIN_RECORDER=$<TARGET_FILE:recorder>;TAVRIN_CHECK=$<TARGET_FILE:TavrinCheck>")
endforeach()
# The list window takes the display, as every list case does.
set_property(TEST e2e.clean.list_rows APPEND PROPERTY RESOURCE_LOCK wine_display)
