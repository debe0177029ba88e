# Opening URLs with their associations: the real program under Wine, with
# copies of the recorder as its associated programs; TavrinCheck.exe must
# name the same starts.
set(TAVRIN_DISPATCH_CASES
  single_program url_with_space header_upper_case path_upper_case blank_key path_list
  exclusive_block shared_block fallback_menu fallback_single no_block run_template
  all_targets browser_fallback folder_and_missing missing_end header_in_comment japanese
  run_each shortcut_file edited_settings)
tavrin_e2e_cases(dispatch ${TAVRIN_DISPATCH_CASES})
foreach(case ${TAVRIN_DISPATCH_CASES})
  set_property(TEST e2e.dispatch.${case} APPEND PROPERTY
               ENVIRONMENT "TAVRIN_RECORDER=$<TARGET_FILE:recorder>;TAVRIN_CHECK=$<TARGET_FILE:TavrinCheck>")
endforeach()
