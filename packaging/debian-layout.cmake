# Run by CPack on the staged files before the Debian package is made: manual pages gzip-compressed and
# a changelog in the package's documentation folder, as Debian keeps them.
file(GLOB_RECURSE pages ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/man/*.6)
foreach(page ${pages})
  execute_process(COMMAND gzip -9nf ${page} RESULT_VARIABLE status)
  if(status)
    message(FATAL_ERROR "cannot compress ${page}")
  endif()
endforeach()

execute_process(COMMAND date -R -u -d ${CPACK_VOLTRANA_RELEASE_DATE} OUTPUT_VARIABLE date
                OUTPUT_STRIP_TRAILING_WHITESPACE)
set(doc ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/${CPACK_PACKAGE_NAME})
file(WRITE ${doc}/changelog "${CPACK_PACKAGE_NAME} (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium

  * Release ${CPACK_PACKAGE_VERSION}.

 -- ${CPACK_PACKAGE_CONTACT}  ${date}
")
execute_process(COMMAND gzip -9nf ${doc}/changelog RESULT_VARIABLE status)
if(status)
  message(FATAL_ERROR "cannot compress ${doc}/changelog")
endif()
