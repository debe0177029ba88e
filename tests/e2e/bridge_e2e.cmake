# The browser bridge end to end: Tavrin.exe with (or without) tvDDE.dll
# against fake_browser.exe, with recorder.exe copies as the associated
# programs. The script finds those three through the environment.
tavrin_e2e_cases(bridge_e2e
  page_of_named_browser page_of_first_answering_browser url_to_browser
  url_to_named_browser refusing_browser absent_browser without_library
  malformed_replies hung_browser)

foreach(case page_of_named_browser page_of_first_answering_browser url_to_browser
             url_to_named_browser refusing_browser absent_browser without_library
             malformed_replies hung_browser)
  set_tests_properties(e2e.bridge_e2e.${case} PROPERTIES
    ENVIRONMENT "TAVRIN_E2E_FAKE_BROWSER=$<TARGET_FILE:fake_browser>;TAVRIN_E2E_TVDDE=$<TARGET_FILE:tvdde>;TAVRIN_E2E_RECORDER=$<TARGET_FILE:recorder>")
endforeach()

# While a copy waits on the hung browser, its DDE wait under Wine answers
# no sent messages, so every other conversation that starts meanwhile
# stalls until the time-out. Tests that hang a browser run alone.
set_tests_properties(e2e.bridge_e2e.hung_browser tvdde_bridge PROPERTIES RUN_SERIAL TRUE)
