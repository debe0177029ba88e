# Host blocks (single programs and the menu), the register scripts and the
# loop guard, with recorder copies as the programs. Cases that change the
# http class or the per-user registration hold a lock: no other case may
# open an http URL meanwhile.
set(TAVRIN_HOST_CASES
  single_program case_and_port other_host first_block_wins exclusive_block block_and_all
  sub_command japanese_host mailto_has_no_host shortcut_file
  register_unregister register_in_odd_folder missing_program shell_open loop_guard
  title_item_refused handoff_unaffected no_registry_writes menu_choice)
tavrin_e2e_cases(host ${TAVRIN_HOST_CASES})
foreach(case ${TAVRIN_HOST_CASES})
  set_property(TEST e2e.host.${case} APPEND PROPERTY
               ENVIRONMENT TAVRIN_RECORDER=$<TARGET_FILE:recorder> TAVRIN_OBJDUMP=${CMAKE_OBJDUMP}
               TAVRIN_CHECK=$<TARGET_FILE:TavrinCheck>)
endforeach()
set_tests_properties(e2e.host.register_unregister e2e.host.register_in_odd_folder
                     e2e.host.missing_program e2e.host.shell_open e2e.host.loop_guard
                     e2e.host.title_item_refused e2e.host.handoff_unaffected
                     PROPERTIES RESOURCE_LOCK wine_http_class)
# Menus are worked through the X server: they need the display to themselves.
set_property(TEST e2e.host.menu_choice e2e.host.title_item_refused e2e.host.block_and_all
             APPEND PROPERTY RESOURCE_LOCK wine_display)
