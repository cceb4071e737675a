# Read by cpack for each generator it runs (CPACK_PROJECT_CONFIG_FILE): the
# Windows setup program is named after the zip with "-setup" added.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()
