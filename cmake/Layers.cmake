# One static library per layer: every .cpp in src/<layer>/ that is not a program's main.
# kx2_layer(NAME [DEPS lib...])
function(kx2_layer name)
  cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER srcs EXCLUDE REGEX ".*/main_[^/]*\\.cpp$")
  if(NOT srcs)
    # A layer that has only headers so far.
    add_library(kx2_${name} INTERFACE)
    target_include_directories(kx2_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(kx2_${name} INTERFACE ${L_DEPS} Threads::Threads)
    return()
  endif()
  add_library(kx2_${name} STATIC ${srcs})
  target_include_directories(kx2_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(kx2_${name} PUBLIC ${L_DEPS} Threads::Threads)
endfunction()

# One GoogleTest binary per layer: every .cpp in tests/<layer>/.
# kx2_tests(LAYER [LIBS lib...] [LABELS label...])
function(kx2_tests layer)
  cmake_parse_arguments(T "" "" "LIBS;LABELS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(test_${layer} ${srcs})
  target_include_directories(test_${layer} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(test_${layer} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Test discovery passes one label through intact, so extra labels join the layer's name:
  # "serial_tsan" is found by both `ctest -L serial` and `ctest -L tsan`.
  set(label ${layer})
  foreach(extra ${T_LABELS})
    string(APPEND label "_${extra}")
  endforeach()
  gtest_discover_tests(test_${layer} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${label})
  # The thread-sanitizer run builds only what its tests need (plus the libraries, every one of
  # which some of them link): `cmake --build ... --target kx2_tsan_tests`.
  if("tsan" IN_LIST T_LABELS)
    if(NOT TARGET kx2_tsan_tests)
      add_custom_target(kx2_tsan_tests)
    endif()
    add_dependencies(kx2_tsan_tests test_${layer})
  endif()
endfunction()
