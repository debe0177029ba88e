# The resident copy among other programs: input while it downloads, answers
# while it waits, list files written over others, planted programs.
set(TAVRIN_RESIDENT_CASES busy_inputs answers_while_waiting planted_program list_file_kept)
tavrin_e2e_cases(resident ${TAVRIN_RESIDENT_CASES})
foreach(case ${TAVRIN_RESIDENT_CASES})
  set_property(TEST e2e.resident.${case} APPEND PROPERTY ENVIRONMENT
               "TAVRIN_RECORDER=$<TARGET_FILE:recorder>;TAVRIN_FAKE_LOADER=$<TARGET_FILE:fake_loader>")
endforeach()
# List windows at the place of every other's, a drag, file dialogs.
set_property(TEST e2e.resident.busy_inputs e2e.resident.answers_while_waiting
             e2e.resident.planted_program e2e.resident.list_file_kept
             APPEND PROPERTY RESOURCE_LOCK wine_display)
