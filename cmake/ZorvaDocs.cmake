# The API reference of the public headers as HTML (target docs), when
# doxygen is installed; nothing builds or tests it otherwise.
find_package(Doxygen QUIET)
if(NOT DOXYGEN_FOUND)
  return()
endif()
get_property(headers GLOBAL PROPERTY ZORVA_PUBLIC_HEADERS)
set(DOXYGEN_PROJECT_NAME Zorva)
set(DOXYGEN_PROJECT_NUMBER ${PROJECT_VERSION})
set(DOXYGEN_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/docs)
set(DOXYGEN_GENERATE_LATEX NO)
# The comments' first sentence is the brief.
set(DOXYGEN_JAVADOC_AUTOBRIEF YES)
set(DOXYGEN_STRIP_FROM_PATH ${PROJECT_SOURCE_DIR}/framework)
set(DOXYGEN_USE_MDFILE_AS_MAINPAGE ${PROJECT_SOURCE_DIR}/docs/guide.md)
doxygen_add_docs(docs ${headers} ${PROJECT_SOURCE_DIR}/docs/guide.md COMMENT "API reference in ${PROJECT_BINARY_DIR}/docs/html")
