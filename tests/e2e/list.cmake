# The list window end to end: Tavrin.exe under Wine with its list view read
# and driven by the driver's "session" command; copies of the recorder are
# the list programs.
set(TAVRIN_LIST_CASES
  list_file check_commands duplicates filters kinds open_rows after_run_options
  open_selected_row association_rows topmost_and_exit write_and_read blank_in_url write_failure
  write_nothing)
tavrin_e2e_cases(list ${TAVRIN_LIST_CASES})
foreach(case ${TAVRIN_LIST_CASES})
  set_property(TEST e2e.list.${case} APPEND PROPERTY
               ENVIRONMENT TAVRIN_RECORDER=$<TARGET_FILE:recorder>)
endforeach()
