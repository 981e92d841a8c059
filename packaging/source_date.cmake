# Read by cpack before it packs (CPACK_PROJECT_CONFIG_FILE): the packages'
# file times are the time of the commit the sources come from, so that two
# packings of one commit give the same bytes. A SOURCE_DATE_EPOCH set
# already wins; sources outside a git checkout keep the packing's time.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(
    COMMAND git -c "safe.directory=${CPACK_TAV_SOURCE_DIR}" -C "${CPACK_TAV_SOURCE_DIR}"
            log -1 --format=%ct
    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE status ERROR_QUIET)
  if(status EQUAL 0 AND commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
  endif()
endif()
