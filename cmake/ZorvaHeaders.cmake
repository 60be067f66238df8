# zorva_public_headers(TARGET LAYER file...)
#   The headers of a layer that models include. In the tree they are
#   included as "LAYER/file.h"; installed, they lie under include/zorva/LAYER
#   and are included as <zorva/LAYER/file.h> or, as in the tree, as
#   "LAYER/file.h". A layer's other headers are internal and never
#   installed. So that a model reads the same in this tree as against an
#   installed Zorva, <zorva/LAYER/file.h> also works here: the build's
#   include/zorva/LAYER links to the layer's folder.
function(zorva_public_headers target layer)
  list(TRANSFORM ARGN PREPEND ${PROJECT_SOURCE_DIR}/framework/${layer}/ OUTPUT_VARIABLE files)
  target_sources(${target} PUBLIC FILE_SET HEADERS BASE_DIRS ${PROJECT_SOURCE_DIR}/framework FILES ${files})
  set_property(GLOBAL APPEND PROPERTY ZORVA_PUBLIC_HEADERS ${files})
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/include/zorva)
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/framework/${layer} ${PROJECT_BINARY_DIR}/include/zorva/${layer} SYMBOLIC)
endfunction()
