# zorva_add_model(NAME SOURCES file... [CAMERA file.cam])
#   A model program. Its main is one line,
#     return zorva::RunZorvaProgram(argc, argv, InitModel);
#   which gives it the main window and the batch options (--headless,
#   --server, --start, --exit-at-end, --stop-time, --report, --version, ...).
#   CAMERA: camera positions for its animation, copied beside the program
#   as NAME.cam, where the program looks for them when it runs there.
#   Works the same in Zorva's own tree and against an installed Zorva.
function(zorva_add_model name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "CAMERA" "SOURCES")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "zorva_add_model(${name}): unknown arguments ${arg_UNPARSED_ARGUMENTS}; "
                        "expected SOURCES file... [CAMERA file.cam]")
  endif()
  if(NOT arg_SOURCES)
    message(FATAL_ERROR "zorva_add_model(${name}): no SOURCES; a model needs at least the file with its main")
  endif()
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE Zorva::zorva)
  if(arg_CAMERA)
    cmake_path(ABSOLUTE_PATH arg_CAMERA BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} OUTPUT_VARIABLE source)
    set(cam ${CMAKE_CURRENT_BINARY_DIR}/${name}.cam)
    add_custom_command(OUTPUT ${cam} COMMAND ${CMAKE_COMMAND} -E copy ${source} ${cam} DEPENDS ${source})
    target_sources(${name} PRIVATE ${cam})
  endif()
endfunction()
