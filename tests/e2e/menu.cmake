# The association menu and the tools menu, worked through the X server.
# The cases need the pointer and the keyboard to themselves: they never run
# beside each other (nor beside other cases that take the display).
set(TAVRIN_MENU_CASES
  choose_each_kind shift_and_right_click escape groups_and_submenus separators_and_columns
  title_item title_item_failed_download ctrl_switches_settings_files key_release_warning positions tools_menu
  readme_sample bad_input)
tavrin_e2e_cases(menu ${TAVRIN_MENU_CASES})
foreach(case ${TAVRIN_MENU_CASES})
  set_property(TEST e2e.menu.${case} APPEND PROPERTY
               ENVIRONMENT TAVRIN_RECORDER=$<TARGET_FILE:recorder>)
  set_property(TEST e2e.menu.${case} APPEND PROPERTY RESOURCE_LOCK wine_display)
endforeach()
# The tools menu's clipboard item reads the one clipboard of the session.
set_property(TEST e2e.menu.tools_menu APPEND PROPERTY RESOURCE_LOCK wine_clipboard)
