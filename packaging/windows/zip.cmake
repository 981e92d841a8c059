# The zip of the Windows program: Tavrelon.exe and the Japanese README as a
# text file, in one folder named for the version.
set(TAV_README_TEXT ${CMAKE_CURRENT_BINARY_DIR}/README.ja.txt)
add_custom_command(
  OUTPUT ${TAV_README_TEXT}
  COMMAND ${CMAKE_COMMAND} -D IN=${PROJECT_SOURCE_DIR}/README.ja.md -D OUT=${TAV_README_TEXT}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/windows/readme_text.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/README.ja.md ${CMAKE_CURRENT_SOURCE_DIR}/windows/readme_text.cmake
  VERBATIM)
add_custom_target(readme_text ALL DEPENDS ${TAV_README_TEXT})

install(TARGETS Tavrelon RUNTIME DESTINATION .)
install(FILES ${TAV_README_TEXT} DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TAV_WINDOWS_KIND win64)
else()
  set(TAV_WINDOWS_KIND win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tavrelon)
set(CPACK_PACKAGE_FILE_NAME Tavrelon-${PROJECT_VERSION}-${TAV_WINDOWS_KIND})
