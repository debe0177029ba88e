# The list window end to end: Tavrin.exe under Wine with its list view read
# and driven by the driver's "session" command; copies of the recorder are
# the list programs.
set(TAVRIN_LIST_CASES
  list_file check_commands duplicates filters kinds open_rows after_run_options
  open_selected_row association_rows topmost_and_exit write_and_read blank_in_url write_failure
  write_nothing page_with_base page_without_base folder_start folder_cap folder_without_shortcuts
  handoff drops clipboard_watch clipboard_chain paste choosers locked_file empty_file huge_page big_file
  pages_with_converter pages_without_converter pages_conversion_off shortcut_folders
  download_start download_routes browser_page from_menus
  planted_libraries write_keeps_old_file failed_inputs_keep_rows)
tavrin_e2e_cases(list ${TAVRIN_LIST_CASES})
foreach(case ${TAVRIN_LIST_CASES})
  set_property(TEST e2e.list.${case} APPEND PROPERTY
               ENVIRONMENT TAVRIN_RECORDER=$<TARGET_FILE:recorder>)
endforeach()
# A library that marks having been loaded, planted as nkf32.dll, jconv.dll
# and tvDDE.dll where the program must not load libraries from.
add_library(planted_library SHARED ${CMAKE_CURRENT_LIST_DIR}/planted_library.cpp)
set_target_properties(planted_library PROPERTIES PREFIX "" OUTPUT_NAME planted
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
set_property(TEST e2e.list.planted_libraries APPEND PROPERTY ENVIRONMENT
             TAVRIN_PLANTED_DLL=$<TARGET_FILE:planted_library>)
set_property(TEST e2e.list.browser_page APPEND PROPERTY ENVIRONMENT
             "TAVRIN_E2E_FAKE_BROWSER=$<TARGET_FILE:fake_browser>;TAVRIN_E2E_TVDDE=$<TARGET_FILE:tvdde>")
# Every case shows a topmost list window at the same place, and keys,
# clicks and drags go to whichever window is in front or under the cursor:
# the cases take the display in turn. The clipboard is one per Wine session.
foreach(case ${TAVRIN_LIST_CASES})
  set_property(TEST e2e.list.${case} APPEND PROPERTY RESOURCE_LOCK wine_display)
endforeach()
set_property(TEST e2e.list.clipboard_watch e2e.list.clipboard_chain e2e.list.paste
             e2e.list.download_routes APPEND PROPERTY
             RESOURCE_LOCK wine_clipboard)
