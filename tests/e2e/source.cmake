# Blocks chosen by the program a link came from: driver copies as the
# programs, recorder copies as the associated ones.
set(TAVRIN_SOURCE_CASES window_in_front other_program parent_decides handed_over)
tavrin_e2e_cases(source ${TAVRIN_SOURCE_CASES})
foreach(case ${TAVRIN_SOURCE_CASES})
  set_property(TEST e2e.source.${case} APPEND PROPERTY
               ENVIRONMENT "TAVRIN_RECORDER=$<TARGET_FILE:recorder>;TAVRIN_CHECK=$<TARGET_FILE:TavrinCheck>")
endforeach()
