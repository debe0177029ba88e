# Hostile input against the real program: every case ends by itself in a
# few seconds, with its documented outcome or a clear message box, and
# writes nothing outside the program's folder and temp\.
set(TAVRIN_HOSTILE_CASES
  cmdline_32000 cmdline_32000_one_word cmdline_dbcs_tail cmdline_dbcs_tail_quoted
  cmdline_dbcs_tail_url
  switch_settings_outside switch_settings_outside_missing switch_settings_device
  switch_settings_folder switch_settings_empty switch_settings_long_name
  switch_schemes_unknown switch_schemes_empty switch_schemes_huge switch_menu_garbage
  switch_menu_huge switch_values_empty switch_browser_huge
  settings_64mib settings_16mib_options settings_random settings_random_fallback
  settings_nuls settings_cr_only settings_10000_blocks
  settings_10000_host_blocks settings_10000_host_blocks_cr_only
  settings_10000_rows settings_10000_rows_icons settings_1000_groups settings_1000_groups_one_program settings_300_filters
  handoff_100k_clipboard handoff_100k_resident private_messages timers_and_notices
  shortcut_10mb shortcut_10mb_late shortcut_device)
tavrin_e2e_cases(hostile ${TAVRIN_HOSTILE_CASES})
foreach(case ${TAVRIN_HOSTILE_CASES})
  set_property(TEST e2e.hostile.${case} APPEND PROPERTY
               ENVIRONMENT TAVRIN_RECORDER=$<TARGET_FILE:recorder>)
endforeach()
# Cases that show a window of their own (a popup menu, the list window)
# take the display in turn; the clipboard is one per Wine session.
set_property(TEST e2e.hostile.settings_300_filters e2e.hostile.handoff_100k_resident
             e2e.hostile.private_messages e2e.hostile.timers_and_notices
             e2e.hostile.switch_menu_garbage e2e.hostile.switch_menu_huge
             e2e.hostile.switch_browser_huge e2e.hostile.settings_random_fallback
             e2e.hostile.settings_10000_rows e2e.hostile.settings_10000_rows_icons
             e2e.hostile.settings_1000_groups e2e.hostile.shortcut_10mb_late e2e.hostile.shortcut_device
             APPEND PROPERTY RESOURCE_LOCK wine_display)
set_property(TEST e2e.hostile.handoff_100k_clipboard e2e.hostile.handoff_100k_resident APPEND PROPERTY
             RESOURCE_LOCK wine_clipboard)
