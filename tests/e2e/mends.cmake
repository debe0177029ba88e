# Everyday inputs end to end: the README's sample settings file, comment
# lines, escapes, switch texts in URLs, apostrophes, last lines, long URLs
# and browser window numbers; recorder copies play the programs.
set(TAVRIN_MENDS_CASES readme_sample commented_param escapes_with_param fragments_opened
  fragments_handed_off apostrophe_url)
tavrin_e2e_cases(mends ${TAVRIN_MENDS_CASES})
foreach(case ${TAVRIN_MENDS_CASES})
  set_property(TEST e2e.mends.${case} APPEND PROPERTY
               ENVIRONMENT TAVRIN_RECORDER=$<TARGET_FILE:recorder>)
endforeach()
