# Download-then-open end to end: Tavrin.exe downloads from a local HTTP
# server that each case starts and stops itself, or has the fake loader
# save the file, and opens the result with a copy of the recorder.
add_executable(fake_loader WIN32 ${CMAKE_CURRENT_LIST_DIR}/fake_loader.cpp)
set_target_properties(fake_loader PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

set(TAVRIN_DOWNLOAD_CASES
  page trailing_slash query not_found server_error redirect stall_after_headers
  stall_before_headers slow_answer colon_name missing_folder parameter_folder long_url
  no_server folder_in_the_way
  big_answer loader_writes loader_hidden loader_hangs loader_missing loader_without_file
  stall_limit cancel escaped_name existing_file_kept loader_old_copy loader_own_folder long_folder
  cut_off_answer killed_during_download disk_full cancel_then_again https_to_http proxy)
tavrin_e2e_cases(download ${TAVRIN_DOWNLOAD_CASES})
foreach(case ${TAVRIN_DOWNLOAD_CASES})
  set_property(TEST e2e.download.${case} APPEND PROPERTY ENVIRONMENT
               "TAVRIN_RECORDER=$<TARGET_FILE:recorder>;TAVRIN_FAKE_LOADER=$<TARGET_FILE:fake_loader>")
endforeach()
# The progress window is clicked with the mouse: the pointer is the desktop's.
set_property(TEST e2e.download.cancel APPEND PROPERTY RESOURCE_LOCK wine_display)
