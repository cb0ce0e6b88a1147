# The release package: one ZIP archive of the three programs and the two help
# files, laid out flat as they sit in the game folder, named with the versions
# of the programs' version records. Built by `cpack --preset release` after the
# win32 build (scripts/package.sh does both).

install(TARGETS orbboot config_tool pad_tool RUNTIME DESTINATION .)
install(FILES
  "${CMAKE_BINARY_DIR}/configtool/VELDARA Config.chm"
  "${CMAKE_BINARY_DIR}/padtool/VdraPadConfig.chm"
  DESTINATION .)

# The ProductVersion string of a resource script's version record, as a dotted
# version ("3, 0, 0, 0" gives 3.0.0.0).
function(veldara_rc_version rc_file out_var)
  file(STRINGS "${rc_file}" line REGEX "VALUE \"ProductVersion\"")
  string(REGEX REPLACE ".*\"ProductVersion\", *\"([^\"]+)\".*" "\\1" version "${line}")
  string(REPLACE ", " "." version "${version}")
  if(version STREQUAL "" OR version MATCHES "[^0-9.]")
    message(FATAL_ERROR "no ProductVersion in ${rc_file}")
  endif()
  set(${out_var} "${version}" PARENT_SCOPE)
endfunction()

veldara_rc_version(${PROJECT_SOURCE_DIR}/launcher/resources/orbboot.rc orbboot_version)
veldara_rc_version(${PROJECT_SOURCE_DIR}/configtool/resources/config.rc config_version)
veldara_rc_version(${PROJECT_SOURCE_DIR}/padtool/resources/padtool.rc pad_version)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME "VELDARA-Utilities")
set(CPACK_PACKAGE_VENDOR "CORVANE CO., LTD.")
set(CPACK_PACKAGE_VERSION "${orbboot_version}")
set(VELDARA_PACKAGE_FILE_NAME
  "VELDARA-Utilities-orbboot${orbboot_version}-config${config_version}-pad${pad_version}")
set(CPACK_PACKAGE_FILE_NAME "${VELDARA_PACKAGE_FILE_NAME}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/package")
# Same bytes for the same files: sorted entries, one fixed time
# (SOURCE_DATE_EPOCH, else the commit time), no owner or inode times.
find_program(VELDARA_PYTHON python3 REQUIRED)
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/package_normalise.cmake")
set(CPACK_VELDARA_SOURCE_DIR "${PROJECT_SOURCE_DIR}")
set(CPACK_VELDARA_PYTHON "${VELDARA_PYTHON}")
include(CPack)
