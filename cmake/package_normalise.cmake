# CPack post-build script: rewrites the archive so that its bytes depend only on
# the files (sorted entries, no owner or inode times). The one file time is
# SOURCE_DATE_EPOCH when set, else the time of the commit being packaged.
set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(epoch STREQUAL "")
  execute_process(COMMAND git -C "${CPACK_VELDARA_SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
  if(failed OR epoch STREQUAL "")
    set(epoch 946684800)  # 2000-01-01, outside a git checkout
  endif()
endif()
foreach(archive IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND "${CPACK_VELDARA_PYTHON}" "${CPACK_VELDARA_SOURCE_DIR}/scripts/normalise_zip.py"
                          "${archive}" "${epoch}"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "could not normalise ${archive}")
  endif()
endforeach()
