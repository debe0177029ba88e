# Links with characters code page 932 lacks, given wide: the command line,
# the clipboard, drops on the list window, a shortcut's wide section, a
# folder of shortcuts with such names, host blocks of hosts as browsers
# read them.
set(TAVRIN_WIDE_CASES
  command_line clipboard_start shortcut file_by_short_name handoff clipboard_handoff list_window
  shortcut_folder save_names host_blocks)
tavrin_e2e_cases(wide ${TAVRIN_WIDE_CASES})
foreach(case ${TAVRIN_WIDE_CASES})
  set_property(TEST e2e.wide.${case} APPEND PROPERTY
               ENVIRONMENT "TAVRIN_RECORDER=$<TARGET_FILE:recorder>;TAVRIN_CHECK=$<TARGET_FILE:TavrinCheck>")
endforeach()
# The clipboard is one per Wine session; the list window takes the display.
set_property(TEST e2e.wide.clipboard_start e2e.wide.clipboard_handoff e2e.wide.list_window
             APPEND PROPERTY RESOURCE_LOCK wine_clipboard)
set_property(TEST e2e.wide.list_window e2e.wide.save_names APPEND PROPERTY RESOURCE_LOCK wine_display)
