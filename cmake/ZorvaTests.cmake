# zorva_add_test(NAME
#   SOURCES file...        the test program's sources
#   LIBRARIES target...    what it links (GoogleTest's main if none of the
#                          sources is named test_main.cpp or *_test_main.cpp)
#   [LABEL label] [TIMEOUT seconds] [ENVIRONMENT var=value...]
#   [EACH_CASE]            one CTest case per GoogleTest case; otherwise one
#                          case runs the whole program
#   [SHARES folder...]     test folders whose helpers it includes (tests/support always)
#   [PROGRAMS target...]   programs it starts: built before it, their paths
#                          given as <TARGET>_EXECUTABLE ("zorva-server" gives
#                          ZORVA_SERVER_EXECUTABLE)
#   [VALGRIND filter])     also runs under valgrind memcheck with this
#                          GoogleTest filter (label valgrind; not with sanitizers)
function(zorva_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "EACH_CASE" "LABEL;TIMEOUT;VALGRIND"
                        "SOURCES;LIBRARIES;ENVIRONMENT;SHARES;PROGRAMS")
  add_executable(${name} ${arg_SOURCES})
  set(main GTest::gtest_main)
  foreach(source ${arg_SOURCES})
    if(source MATCHES "test_main\\.cpp$")
      set(main GTest::gtest)
    endif()
  endforeach()
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} ${main})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
  foreach(folder ${arg_SHARES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/${folder})
  endforeach()
  foreach(program ${arg_PROGRAMS})
    string(TOUPPER "${program}_EXECUTABLE" definition)
    string(REPLACE "-" "_" definition "${definition}")
    target_compile_definitions(${name} PRIVATE ${definition}="$<TARGET_FILE:${program}>")
    add_dependencies(${name} ${program})
  endforeach()

  set(properties)
  if(arg_LABEL)
    list(APPEND properties LABELS ${arg_LABEL})
  endif()
  if(arg_TIMEOUT)
    list(APPEND properties TIMEOUT ${arg_TIMEOUT})
  endif()
  if(arg_ENVIRONMENT)
    list(APPEND properties ENVIRONMENT "${arg_ENVIRONMENT}")
  endif()
  if(arg_EACH_CASE)
    include(GoogleTest)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30 DISCOVERY_MODE PRE_TEST PROPERTIES ${properties})
  else()
    add_test(NAME ${name} COMMAND ${name})
    if(properties)
      set_tests_properties(${name} PROPERTIES ${properties})
    endif()
  endif()

  find_program(VALGRIND valgrind)
  if(arg_VALGRIND AND VALGRIND AND NOT ZORVA_SANITIZE)
    add_test(NAME ${name}_valgrind
             COMMAND ${VALGRIND} --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite
                     --track-origins=yes --quiet $<TARGET_FILE:${name}> --gtest_filter=${arg_VALGRIND})
    set_tests_properties(${name}_valgrind PROPERTIES LABELS valgrind TIMEOUT 600)
  endif()
endfunction()
